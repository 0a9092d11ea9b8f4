// The room a text needs in a window's font, widest digits assumed.
#include "platform/TextRoom.h"

#include <vector>

#include "platform/Gdi.h"
#include "platform/StringConvert.h"

int AfxTextRoom(HWND hWnd, const CString& strText)
{
    const CWideText text(strText.GetString(), strText.GetLength());
    const LPCWSTR pwch = text;
    std::vector<wchar_t> wide(pwch, pwch + text.GetLength());
    while (!wide.empty() && wide.back() == L' ')
        wide.pop_back();
    if (wide.empty())
        return 0;

    CMemoryDC dc;
    if (!dc.CreateCompatibleDC(nullptr))
        return 0;
    // Without a font of its own the window draws in the system font, which a new context holds.
    const CGdiSelection font(dc, reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)));
    SIZE size{};
    wchar_t chWidest = L'0';
    int nWidest = 0;
    for (wchar_t ch = L'0'; ch <= L'9'; ++ch) {
        if (::GetTextExtentPoint32W(dc, &ch, 1, &size) && size.cx > nWidest) {
            nWidest = size.cx;
            chWidest = ch;
        }
    }
    for (wchar_t& ch : wide) {
        if (ch >= L'0' && ch <= L'9')
            ch = chWidest;
    }
    return ::GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size) ? size.cx : 0;
}
