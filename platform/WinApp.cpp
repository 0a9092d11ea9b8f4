// The application object, its message loop, resource lookup, the common controls and the system's error texts.
#include "platform/WinApp.h"

#include "platform/StringConvert.h"
#include "platform/SystemApi.h"
#include "platform/Thread.h"

namespace {

CWinApp* g_pApp = nullptr;

} // namespace

CWinApp::CWinApp() { g_pApp = this; }

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleW(nullptr); }

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

HINSTANCE AfxFindResourceHandle(LPCSTR pszName, LPCSTR pszType)
{
    const HINSTANCE hInstance = AfxGetResourceHandle();
    return ::FindResourceA(hInstance, pszName, pszType) ? hInstance : nullptr;
}

int AfxWinMain()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    const int nResult = pApp->InitInstance() ? pApp->Run() : pApp->ExitInstance();
    // A worker that outlived the wait at the end still uses the program's
    // static objects: end here rather than destroy them under it.
    if (AfxLiveWorkerCount() != 0)
        ::ExitProcess(static_cast<UINT>(nResult));
    return nResult;
}

BOOL AfxInitCommonControls()
{
    // Windows registers no common control class until asked, and
    // InitCommonControls alone leaves out the date and time picker.
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    return AfxSystemApi().InitCommonControlsEx(&init);
}

CString AfxFormatSystemError(DWORD dwError)
{
    wchar_t szText[512] = L"";
    DWORD nLength = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwError, 0,
                                     szText, sizeof szText / sizeof szText[0], nullptr);
    while (nLength > 0 && (szText[nLength - 1] == L'\r' || szText[nLength - 1] == L'\n' || szText[nLength - 1] == L' '))
        --nLength;
    CString strText = AfxGbkFromWide(szText, static_cast<int>(nLength));
    if (strText.IsEmpty())
        strText.Format("%lu", static_cast<unsigned long>(dwError));
    return strText;
}
