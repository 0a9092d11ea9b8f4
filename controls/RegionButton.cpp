// The region button: its shape, creation, mouse tracking and state images.
#include "controls/RegionButton.h"

#include <cstdlib>

#include "platform/DialogScale.h"

namespace {

// Redraw at once; the erase reaches OnEraseBkgnd, which leaves the pixels alone.
constexpr UINT kHoverRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

// One edge band: the part of the shape uncovered by its copy moved by (k, k).
struct EdgeBand {
    int k;
    int nColor;         // raised
    int nPressedColor;  // sunken
};

// Later bands paint over earlier ones, so the inner colours go first.
constexpr EdgeBand kTwoPixelBands[] = {
    {2, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW},
    {-2, COLOR_BTNSHADOW, COLOR_3DLIGHT},
    {1, COLOR_3DLIGHT, COLOR_BTNSHADOW},
    {-1, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT},
};

constexpr EdgeBand kOnePixelBands[] = {
    {1, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW},
    {-1, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT},
};

} // namespace

BEGIN_MESSAGE_MAP(CRegionButton, CButton)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
END_MESSAGE_MAP()

CRegionButton::CRegionButton()
    : m_nBorder(1),
      m_crNormal(::GetSysColor(COLOR_BTNFACE)),
      m_crPressed(m_crNormal),
      m_crHover(m_crNormal),
      m_crDisabled(m_crNormal),
      m_crNormalText(CLR_DEFAULT),
      m_crPressedText(CLR_DEFAULT),
      m_crHoverText(CLR_DEFAULT),
      m_crDisabledText(CLR_DEFAULT),
      m_bMouseDown(FALSE),
      m_bHover(FALSE),
      m_bCaptured(FALSE),
      m_bNeedRender(TRUE),
      m_dwPressTime(0),
      m_bMadeAnewByPress(FALSE),
      m_nCreations(0)
{
}

// The images go with their members, and a copy of the shape that no window
// accepted with m_rgn.
CRegionButton::~CRegionButton() = default;

BOOL CRegionButton::Create(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID)
{
    return CreateShaped(pszCaption, dwStyle, point, hRgn, pParentWnd, nID);
}

BOOL CRegionButton::Create(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID,
                           COLORREF crHighlight)
{
    m_crPressed = crHighlight;
    m_crHover = crHighlight;
    return CreateShaped(pszCaption, dwStyle, point, hRgn, pParentWnd, nID);
}

BOOL CRegionButton::Create(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID,
                           int nBorder, COLORREF crNormal, COLORREF crPressed, COLORREF crHover,
                           COLORREF crDisabled)
{
    return Create(pszCaption, dwStyle, point, hRgn, pParentWnd, nID, nBorder,
                  RegionButtonColours{{crNormal}, {crPressed}, {crHover}, {crDisabled}});
}

BOOL CRegionButton::Create(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd, UINT nID,
                           int nBorder, const RegionButtonColours& colours)
{
    m_nBorder = nBorder;
    SetColours(colours);
    return CreateShaped(pszCaption, dwStyle, point, hRgn, pParentWnd, nID);
}

void CRegionButton::SetColours(const RegionButtonColours& colours)
{
    m_crNormal = colours.normal.crFill;
    m_crPressed = colours.pressed.crFill;
    m_crHover = colours.hover.crFill;
    m_crDisabled = colours.disabled.crFill;
    m_crNormalText = colours.normal.crText;
    m_crPressedText = colours.pressed.crText;
    m_crHoverText = colours.hover.crText;
    m_crDisabledText = colours.disabled.crText;
    m_bNeedRender = TRUE;
    if (m_hWnd)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE);
}

BOOL CRegionButton::CreateShaped(LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn, CWnd* pParentWnd,
                                 UINT nID)
{
    // A source that cannot be copied leaves this square as the shape; a copy
    // that the last window refused is deleted here.
    if (m_rgn.CreateRectRgn(0, 0, 31, 31))
        ::CombineRgn(m_rgn, hRgn, nullptr, RGN_COPY);

    // Only the position places the button: the caller's offset is dropped.
    CRect box;
    m_rgn.GetRgnBox(&box);
    m_rgn.OffsetRgn(-box.left, -box.top);
    m_rgn.GetRgnBox(&box);
    m_ptCenter = CPoint(box.left + box.Width() / 2, box.top + box.Height() / 2);

    const CRect rect(point.x, point.y, point.x + box.Width(), point.y + box.Height());
    return CButton::Create(pszCaption, dwStyle, rect, pParentWnd, nID);
}

void CRegionButton::PreSubclassWindow()
{
    // Runs before WM_NCCREATE, so the very first paint is already owner-drawn.
    ModifyStyle(0, BS_OWNERDRAW, 0);
    CButton::PreSubclassWindow();
}

LRESULT CRegionButton::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // An owner-drawn button would report the second click as BN_DOUBLECLICKED;
    // as a plain press it gives a second BN_CLICKED.
    if (nMsg == WM_LBUTTONDBLCLK)
        nMsg = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(nMsg, wParam, lParam);
}

int CRegionButton::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    m_bNeedRender = TRUE;
    ++m_nCreations;
    // Once accepted, the region belongs to the window and dies with it.
    if (SetWindowRgn(m_rgn, TRUE))
        m_rgn.Detach();
    return 0;
}

BOOL CRegionButton::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

LRESULT CRegionButton::OnSysColorChange(WPARAM, LPARAM)
{
    m_bNeedRender = TRUE;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE);
    return Default();
}

void CRegionButton::OnMouseMove(UINT, CPoint point)
{
    if (!m_bMouseDown)
        UpdateHover(point);
    Default();
}

void CRegionButton::OnLButtonDown(UINT, CPoint)
{
    const DWORD dwTime = static_cast<DWORD>(::GetMessageTime());
    const DWORD dwPos = ::GetMessagePos();
    const CPoint ptScreen(static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos)));
    // A double-click on Set must not set, reset and set again: the second
    // click is no press.
    const BOOL bSecondClick = IsSecondClickOfPress(dwTime, ptScreen);
    m_bMadeAnewByPress = FALSE;
    if (bSecondClick)
        return;
    m_dwPressTime = dwTime;
    m_ptPress = ptScreen;
    m_bMouseDown = TRUE;
    if (!m_bCaptured) {
        ::SetCapture(m_hWnd);
        m_bCaptured = TRUE;
    }
    Default();
}

void CRegionButton::OnLButtonUp(UINT, CPoint point)
{
    // The click handler of the parent runs in here and may destroy this window
    // and create it again; what follows works on whichever window is current.
    const int nCreations = m_nCreations;
    Default();
    m_bMadeAnewByPress = m_nCreations != nCreations;
    m_bMouseDown = FALSE;
    if (m_bCaptured) {
        ::ReleaseCapture();
        m_bCaptured = FALSE;
    }
    // Without a window a redraw would go to the whole desktop.
    if (m_hWnd)
        UpdateHover(point);
}

void CRegionButton::UpdateHover(CPoint point)
{
    if (IsInRegion(point)) {
        if (!m_bCaptured) {
            ::SetCapture(m_hWnd);
            m_bCaptured = TRUE;
        }
        if (!m_bHover) {
            m_bHover = TRUE;
            RedrawWindow(nullptr, nullptr, kHoverRedraw);
        }
    } else {
        if (m_bCaptured) {
            ::ReleaseCapture();
            m_bCaptured = FALSE;
        }
        m_bHover = FALSE;
        RedrawWindow(nullptr, nullptr, kHoverRedraw);
    }
}

BOOL CRegionButton::IsSecondClickOfPress(DWORD dwTime, CPoint ptScreen) const
{
    // The system's own double-click: the time since the first click went
    // down, and a rectangle centred on it.
    return m_bMadeAnewByPress && dwTime - m_dwPressTime <= ::GetDoubleClickTime() &&
           std::abs(ptScreen.x - m_ptPress.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(ptScreen.y - m_ptPress.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

BOOL CRegionButton::IsInRegion(CPoint point) const
{
    CRgn shape;
    CopyWindowRegion(shape);
    CRect box;
    shape.GetRgnBox(&box);
    return ::PtInRect(&box, point) && shape.PtInRegion(point.x, point.y);
}

void CRegionButton::CopyWindowRegion(CRgn& rgn) const
{
    rgn.CreateRectRgn(0, 0, 0, 0);
    if (rgn.GetSafeHandle())
        ::GetWindowRgn(m_hWnd, rgn);
}

// ---- State images ------------------------------------------------------------

void CRegionButton::DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct)
{
    CDCHandle dc(pDrawItemStruct->hDC);
    CRect rect;
    GetClientRect(&rect);
    if (m_bNeedRender)
        RenderStateImages(&dc, rect);
    BlitStateImage(&dc, rect, pDrawItemStruct->itemState);
}

void CRegionButton::RenderStateImages(CDC* pDC, const CRect& rect)
{
    struct Image {
        CBitmap& bitmap;
        RegionButtonFace face;
        BOOL bEtched;
        BOOL bPressed;
    };
    const Image images[] = {
        {m_bmpNormal, {m_crNormal, m_crNormalText}, FALSE, FALSE},
        {m_bmpPressed, {m_crPressed, m_crPressedText}, FALSE, TRUE},
        {m_bmpHover, {m_crHover, m_crHoverText}, FALSE, FALSE},
        {m_bmpDisabled, {m_crDisabled, m_crDisabledText}, TRUE, FALSE},
    };

    CMemoryDC memDC;
    memDC.CreateCompatibleDC(pDC);
    for (const Image& image : images) {
        image.bitmap.DeleteObject();
        RenderImage(pDC, &memDC, &image.bitmap, image.face, rect, image.bEtched, image.bPressed);
    }
    memDC.DeleteDC();
    m_bNeedRender = FALSE;
}

void CRegionButton::RenderImage(CDC* pDC, CDC* pMemDC, CBitmap* pImage, const RegionButtonFace& face,
                                const CRect& rect, BOOL bEtched, BOOL bPressed)
{
    // Compatible with the window's context: a memory context would give monochrome.
    if (!pImage->CreateCompatibleBitmap(pDC, rect.Width(), rect.Height()))
        return;
    const CGdiSelection bitmap(*pMemDC, *pImage);
    CRgn shape;
    CopyWindowRegion(shape);
    pMemDC->FillSolidRect(rect, RGB(0, 0, 0));
    CBrush brush(face.crFill);
    pMemDC->FillRgn(&shape, &brush);
    DrawCaption(pMemDC, face.crText, bEtched, bPressed);
    DrawEdgeBands(pMemDC, &shape, bPressed);
}

void CRegionButton::DrawCaption(CDC* pMemDC, COLORREF crText, BOOL bEtched, BOOL bPressed)
{
    const int nOldMode = pMemDC->SetBkMode(TRANSPARENT);
    CString strCaption;
    GetWindowText(strCaption);

    // A parent without a font of its own gets the system's default GUI font.
    LOGFONTW logFont{};
    const auto hParentFont = reinterpret_cast<HFONT>(::SendMessageA(::GetParent(m_hWnd), WM_GETFONT, 0, 0));
    if (!hParentFont || ::GetObjectW(hParentFont, sizeof logFont, &logFont) != sizeof logFont)
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    CFont font;
    font.CreateFontIndirect(&logFont);
    const CGdiSelection selectedFont(*pMemDC, font);

    TEXTMETRICW metrics{};
    pMemDC->GetTextMetrics(&metrics);
    CPoint point(m_ptCenter.x, m_ptCenter.y + metrics.tmHeight / 2);
    if (bPressed) {
        point.x += m_nBorder * EdgeUnit();
        point.y += m_nBorder * EdgeUnit();
    }

    const UINT nOldAlign = pMemDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
    if (bEtched && crText == CLR_DEFAULT) {
        // The shadow copy goes last, over the highlight one pixel right and down.
        pMemDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        pMemDC->TextOut(point.x + 1, point.y + 1, strCaption);
        pMemDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        pMemDC->TextOut(point.x, point.y, strCaption);
    } else {
        pMemDC->SetTextColor(crText == CLR_DEFAULT ? ::GetSysColor(COLOR_BTNTEXT) : crText);
        pMemDC->TextOut(point.x, point.y, strCaption);
    }
    pMemDC->SetTextAlign(nOldAlign);
    pMemDC->SetBkMode(nOldMode);
}

void CRegionButton::FillBand(CDC* pMemDC, const CRgn* pShape, CRgn* pBand, int k, COLORREF cr)
{
    pBand->CombineRgn(pShape, nullptr, RGN_COPY);
    pBand->OffsetRgn(k, k);
    pBand->CombineRgn(pShape, pBand, RGN_DIFF);
    CBrush brush(cr);
    pMemDC->FillRgn(pBand, &brush);
}

void CRegionButton::DrawEdgeBands(CDC* pMemDC, const CRgn* pShape, BOOL bPressed)
{
    CRgn band;
    band.CreateRectRgn(0, 0, 0, 0);
    const int nUnit = EdgeUnit();
    const auto paint = [&](const EdgeBand& edge) {
        FillBand(pMemDC, pShape, &band, edge.k * nUnit, ::GetSysColor(bPressed ? edge.nPressedColor : edge.nColor));
    };
    if (m_nBorder == 2) {
        for (const EdgeBand& edge : kTwoPixelBands)
            paint(edge);
    } else {
        for (const EdgeBand& edge : kOnePixelBands)
            paint(edge);
    }
}

int CRegionButton::EdgeUnit() const
{
    // The edges were drawn for a dialog of base units 6 x 12 and grow with its font.
    return CDialogScale(::GetParent(m_hWnd)).Line(1);
}

void CRegionButton::BlitStateImage(CDC* pDC, const CRect& rect, UINT nItemState)
{
    const CBitmap* pImage;
    if (nItemState & ODS_DISABLED)
        pImage = &m_bmpDisabled;
    else if (nItemState & ODS_SELECTED)
        pImage = &m_bmpPressed;
    else if (m_bHover)
        pImage = &m_bmpHover;
    else
        pImage = &m_bmpNormal;
    // An image whose bitmap could not be made shows nothing.
    if (!pImage->GetSafeHandle())
        return;

    CMemoryDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CRgn shape;
    CopyWindowRegion(shape);
    const CGdiSelection bitmap(memDC, *pImage);
    pDC->SelectClipRgn(&shape);
    pDC->BitBlt(0, 0, rect.Width(), rect.Height(), &memDC, 0, 0, SRCCOPY);
    pDC->SelectClipRgn(nullptr);
}
