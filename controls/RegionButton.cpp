#include "controls/RegionButton.h"

BOOL CRegionButton::Create(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID,
                           int nBorder, COLORREF crNormal, COLORREF crPressed, COLORREF crHover,
                           COLORREF crDisabled)
{
    m_nBorder = nBorder;
    m_crNormal = crNormal;
    m_crPressed = crPressed;
    m_crHover = crHover;
    m_crDisabled = crDisabled;

    RECT box{};
    ::GetRgnBox(hRgn, &box);
    const RECT rect{point.x, point.y, point.x + box.right - box.left, point.y + box.bottom - box.top};
    return CButton::Create(pszCaption, dwStyle, rect, pParentWnd, nID);
}
