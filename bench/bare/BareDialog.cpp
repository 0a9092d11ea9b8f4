// The floor Kovna's start-up is measured against: a plain modal dialog from
// an in-memory template of the main dialog's size, style and font, with no
// controls, built with the same compiler and static runtime.
#include <windows.h>

#include <cstring>

namespace {

INT_PTR CALLBACK BareDialogProc(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM)
{
    if (nMsg == WM_INITDIALOG)
        return TRUE;
    if (nMsg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// A DLGTEMPLATEEX of 291 x 170 units in 9-point "MS Shell Dlg", as the main one.
struct alignas(4) BareTemplate {
    WORD version = 1, signature = 0xFFFF;
    DWORD helpID = 0, exStyle = WS_EX_APPWINDOW;
    DWORD style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT |
                  DS_FIXEDSYS;
    WORD cDlgItems = 0;
    short x = 0, y = 0, cx = 291, cy = 170;
    WORD menu = 0, windowClass = 0;
    WCHAR title[6] = L"Kovna";
    WORD pointsize = 9, weight = 0;
    BYTE italic = 0, charset = DEFAULT_CHARSET;
    WCHAR typeface[13] = L"MS Shell Dlg";
};

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    static const BareTemplate dialog;
    return static_cast<int>(::DialogBoxIndirectParamA(
        hInstance, reinterpret_cast<LPCDLGTEMPLATEA>(&dialog), nullptr, BareDialogProc, 0));
}
