// A push button shaped by a region. For now a standard push button placed
// and sized by the region's bounding box.
#pragma once

#include "platform/Afx.h"

class CRegionButton : public CButton {
public:
    // Caption, style, position of the shape's top-left corner in the parent,
    // shape (stays the caller's), parent, control ID, border style and the
    // fill colours of the normal, pressed, hover and disabled looks.
    BOOL Create(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID,
                int nBorder, COLORREF crNormal, COLORREF crPressed, COLORREF crHover, COLORREF crDisabled);

private:
    int m_nBorder = 1;
    COLORREF m_crNormal = ::GetSysColor(COLOR_BTNFACE);
    COLORREF m_crPressed = m_crNormal;
    COLORREF m_crHover = m_crNormal;
    COLORREF m_crDisabled = m_crNormal;
};
