// The standard controls' wrappers: button, combo box, date-time picker.
#include "platform/Controls.h"

#include <vector>

IMPLEMENT_DYNAMIC(CButton, CWnd)

void CComboBox::GetLBText(int nIndex, CString& str) const
{
    const LRESULT nLength = ::SendMessageW(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (nLength == CB_ERR) {
        str.Empty();
        return;
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(nLength) + 1);
    const LRESULT nCopied =
        ::SendMessageW(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(buffer.data()));
    str = AfxGbkFromWide(buffer.data(), nCopied == CB_ERR ? 0 : static_cast<int>(nCopied));
}

BOOL CButton::Create(LPCSTR pszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, "BUTTON", pszCaption, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT nMsg, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    if (nMsg != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *pResult = TRUE;
    return TRUE;
}

BOOL CDateTimeCtrl::GetTime(SYSTEMTIME& stDest) const
{
    return ::SendMessageA(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&stDest)) == GDT_VALID;
}

BOOL CDateTimeCtrl::GetTime(CTime& timeDest) const
{
    SYSTEMTIME st{};
    if (!GetTime(st))
        return FALSE;
    timeDest = CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    return TRUE;
}

BOOL CDateTimeCtrl::SetTime(const CTime& timeNew)
{
    SYSTEMTIME st{};
    if (!timeNew.GetAsSystemTime(st))
        return FALSE;
    return static_cast<BOOL>(::SendMessageA(m_hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
}
