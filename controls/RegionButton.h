// A push button shaped by a region. The window keeps a copy of the caller's
// shape as its window region, paints itself from four images (normal,
// pressed, hover, disabled) rendered once per window and again when its
// colours or the system's change, and tracks hover by holding the mouse
// capture while the cursor is over the shape.
#pragma once

#include "platform/Afx.h"

// One state's look: its fill and its caption's colour. CLR_DEFAULT is the
// system's button text, etched in the disabled look.
struct RegionButtonFace {
    COLORREF crFill;
    COLORREF crText = CLR_DEFAULT;
};

struct RegionButtonColours {
    RegionButtonFace normal;
    RegionButtonFace pressed;
    RegionButtonFace hover;
    RegionButtonFace disabled;
};

class CRegionButton : public CButton {
public:
    CRegionButton();
    ~CRegionButton() override;

    using CButton::Create;

    // Caption, style, position of the shape's top-left corner in the parent,
    // shape (stays the caller's), parent and control ID; the look keeps the
    // border style and colours stored by earlier creations.
    BOOL Create(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID);
    // As above; crHighlight fills the pressed and hover looks.
    BOOL Create(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID,
                COLORREF crHighlight);
    // As above, with the border style (2: two-pixel 3D edge, else one pixel)
    // and the fill colours of the normal, pressed, hover and disabled looks.
    BOOL Create(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID,
                int nBorder, COLORREF crNormal, COLORREF crPressed, COLORREF crHover, COLORREF crDisabled);
    // As above, with the captions' colours too.
    BOOL Create(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID,
                int nBorder, const RegionButtonColours& colours);

    // New colours, shown from the next paint on: the looks are rendered again.
    void SetColours(const RegionButtonColours& colours);

    void DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct) override;

protected:
    void PreSubclassWindow() override;
    LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;

    int OnCreate(LPCREATESTRUCTW pCreateStruct);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    // The edges and the default captions are drawn in system colours.
    LRESULT OnSysColorChange(WPARAM wParam, LPARAM lParam);

    int m_nBorder;
    COLORREF m_crNormal;
    COLORREF m_crPressed;
    COLORREF m_crHover;
    COLORREF m_crDisabled;
    COLORREF m_crNormalText;
    COLORREF m_crPressedText;
    COLORREF m_crHoverText;
    COLORREF m_crDisabledText;
    // Made anew by each rendering, which deletes the old ones; empty until then.
    CBitmap m_bmpNormal;
    CBitmap m_bmpPressed;
    CBitmap m_bmpHover;
    CBitmap m_bmpDisabled;
    CPoint m_ptCenter;
    BOOL m_bMouseDown;
    BOOL m_bHover;
    BOOL m_bCaptured;
    // The copy of the shape, until the window accepts it.
    CRgn m_rgn;
    BOOL m_bNeedRender;
    // The last press that went down, in message time and screen pixels; its
    // click may have made this window anew in its place, and then the
    // second click of a double-click lands on the new window.
    DWORD m_dwPressTime;
    CPoint m_ptPress;
    BOOL m_bMadeAnewByPress;
    int m_nCreations;

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateShaped(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID);
    void UpdateHover(CPoint point);
    BOOL IsInRegion(CPoint point) const;
    // The button went down as the second click of a double-click whose first
    // click made this window anew.
    BOOL IsSecondClickOfPress(DWORD dwTime, CPoint ptScreen) const;
    // rgn becomes a copy of the window's current region (empty when it has none).
    void CopyWindowRegion(CRgn& rgn) const;

    void RenderStateImages(CDC* pDC, const CRect& rect);
    void RenderImage(CDC* pDC, CDC* pMemDC, CBitmap* pImage, const RegionButtonFace& face, const CRect& rect,
                     BOOL bEtched, BOOL bPressed);
    void DrawCaption(CDC* pMemDC, COLORREF crText, BOOL bEtched, BOOL bPressed);
    static void FillBand(CDC* pMemDC, const CRgn* pShape, CRgn* pBand, int k, COLORREF cr);
    void DrawEdgeBands(CDC* pMemDC, const CRgn* pShape, BOOL bPressed);
    // One pixel of the edges and the pressed shift, in the parent dialog's scale.
    int EdgeUnit() const;
    void BlitStateImage(CDC* pDC, const CRect& rect, UINT nItemState);
};
