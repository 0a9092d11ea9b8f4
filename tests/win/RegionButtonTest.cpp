// The region button in a parent window of the test's own: shape and
// ownership, the rendered images read back pixel by pixel, real mouse input
// through xdotool on the X display, and GDI handle counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/Pixels.h"
#include "kit/XInput.h"
#include "controls/RegionButton.h"

// Points read as (x, y) in failure messages.
void PrintTo(const CPoint& point, std::ostream* os)
{
    *os << "(" << point.x << ", " << point.y << ")";
}

namespace {

constexpr UINT kButtonId = IDC_BTN_SET_AFTER;
constexpr COLORREF kParentBackground = RGB(0, 128, 128);
constexpr DWORD kChildVisible = WS_CHILD | WS_VISIBLE;

// Reads what the button keeps to itself.
class CProbeButton : public CRegionButton {
public:
    int m_nDraws = 0;
    int m_nDoubleClicks = 0;

    void DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct) override
    {
        ++m_nDraws;
        CRegionButton::DrawItem(pDrawItemStruct);
    }
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == WM_LBUTTONDBLCLK)
            ++m_nDoubleClicks;
        return CRegionButton::WindowProc(nMsg, wParam, lParam);
    }

    CPoint Center() const { return m_ptCenter; }
    BOOL Hover() const { return m_bHover; }
    BOOL Captured() const { return m_bCaptured; }
    HRGN OwnedRegion() const { return m_rgn; }
    BOOL NeedRender() const { return m_bNeedRender; }
    // 0 normal, 1 pressed, 2 hover, 3 disabled.
    HBITMAP Image(int nImage) const
    {
        const CBitmap* images[] = {&m_bmpNormal, &m_bmpPressed, &m_bmpHover, &m_bmpDisabled};
        return *images[nImage];
    }
};

// A plain top-level window at the screen's corner: answers WM_GETFONT with
// m_hFont and counts the button's clicks.
class CTestParent : public CWnd {
public:
    HFONT m_hFont = nullptr;
    int m_nClicks = 0;
    std::function<void()> m_onClick;

    BOOL Create(int nWidth, int nHeight)
    {
        static const char* const pszClass = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
            wc.hbrBackground = ::CreateSolidBrush(kParentBackground);
            wc.lpszClassName = "KovnaRegionButtonTestParent";
            ::RegisterClassA(&wc);
            return wc.lpszClassName;
        }();
        if (!CreateEx(0, pszClass, "", WS_POPUP | WS_VISIBLE, 0, 0, nWidth, nHeight, nullptr, 0))
            return FALSE;
        ::UpdateWindow(m_hWnd);
        return TRUE;
    }

protected:
    void OnClicked()
    {
        ++m_nClicks;
        if (m_onClick)
            m_onClick();
    }
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hFont); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestParent, CWnd)
    ON_BN_CLICKED(kButtonId, OnClicked)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

// Owns a region handle made by the test.
struct Region {
    HRGN h;
    explicit Region(HRGN hRgn) : h(hRgn) {}
    ~Region() { ::DeleteObject(h); }
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;
};

// 60 x 40 with a notch in the top edge, a bite out of the bottom-left corner
// and a hole.
HRGN NotchedShape()
{
    const HRGN hRgn = ::CreateRectRgn(0, 0, 60, 40);
    for (const RECT& cut : {RECT{25, 0, 35, 10}, RECT{0, 30, 10, 40}, RECT{40, 18, 50, 28}}) {
        const HRGN hCut = ::CreateRectRgnIndirect(&cut);
        ::CombineRgn(hRgn, hRgn, hCut, RGN_DIFF);
        ::DeleteObject(hCut);
    }
    return hRgn;
}

void Paint(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// The band rule, pixel by pixel: a pixel of the shape takes the colour of the
// last band whose shape copy moved by (k, k) does not cover it.
COLORREF ExpectedEdgeColor(HRGN hShape, int x, int y, int nBorder, bool bPressed, COLORREF crFill, int nUnit = 1)
{
    struct Band {
        int k;
        int nRaised;
        int nSunken;
    };
    static const Band twoPixel[] = {{2, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW},
                                    {-2, COLOR_BTNSHADOW, COLOR_3DLIGHT},
                                    {1, COLOR_3DLIGHT, COLOR_BTNSHADOW},
                                    {-1, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT}};
    static const Band onePixel[] = {{1, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW},
                                    {-1, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT}};
    if (!::PtInRegion(hShape, x, y))
        return RGB(0, 0, 0);
    COLORREF cr = crFill;
    const auto apply = [&](const Band& band) {
        if (!::PtInRegion(hShape, x - band.k * nUnit, y - band.k * nUnit))
            cr = ::GetSysColor(bPressed ? band.nSunken : band.nRaised);
    };
    if (nBorder == 2) {
        for (const Band& band : twoPixel)
            apply(band);
    } else {
        for (const Band& band : onePixel)
            apply(band);
    }
    return cr;
}

// GDI objects of this process. Wine's GetGuiResources answers 0, so there the
// handle table is probed: a handle value with a zero high word names the
// table slot whatever the slot's generation.
int GdiObjectCount()
{
    const DWORD nReported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (nReported)
        return static_cast<int>(nReported);
    int nCount = 0;
    for (ULONG_PTR nSlot = 1; nSlot < 0x10000; ++nSlot)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(nSlot)))
            ++nCount;
    return nCount;
}

// ---- Real input through the X display -----------------------------------------

// Moves the pointer to (x, y) of hWnd's client area and handles what follows.
void MoveTo(HWND hWnd, int x, int y)
{
    POINT target{x, y};
    ::ClientToScreen(hWnd, &target);
    MovePointerTo(target);
    PumpFor(150);
}

} // namespace

TEST(RegionButton, TakesACopyOfTheShapeAtThePosition)
{
    CTestParent parent;
    ASSERT_TRUE(parent.Create(400, 300));

    {
        Region shape(::CreateRectRgn(10, 10, 60, 40));
        CProbeButton button;
        ASSERT_TRUE(button.Create("A", kChildVisible, CPoint(100, 100), shape.h, &parent, kButtonId, 2,
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  ::GetSysColor(COLOR_BTNFACE)));
        const RECT rc = ChildRect(button.m_hWnd);
        EXPECT_EQ(100, rc.left);
        EXPECT_EQ(100, rc.top);
        EXPECT_EQ(150, rc.right);
        EXPECT_EQ(130, rc.bottom);
        EXPECT_EQ(CPoint(25, 15), button.Center());
        EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & 0x0F);

        // The window took the moved copy; the caller's region is untouched.
        Region windowShape(::CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(ERROR, ::GetWindowRgn(button.m_hWnd, windowShape.h));
        RECT box;
        ::GetRgnBox(windowShape.h, &box);
        EXPECT_EQ(0, box.left);
        EXPECT_EQ(0, box.top);
        EXPECT_EQ(50, box.right);
        EXPECT_EQ(30, box.bottom);
        ::GetRgnBox(shape.h, &box);
        EXPECT_EQ(10, box.left);
        EXPECT_EQ(60, box.right);
        EXPECT_EQ(nullptr, button.OwnedRegion());
    }
    {
        // A handle that no longer names a region: the 31 x 31 square.
        const HRGN hGone = ::CreateRectRgn(0, 0, 80, 80);
        ::DeleteObject(hGone);
        CProbeButton button;
        ASSERT_TRUE(button.Create("B", kChildVisible, CPoint(20, 30), hGone, &parent, kButtonId));
        const RECT rc = ChildRect(button.m_hWnd);
        EXPECT_EQ(20, rc.left);
        EXPECT_EQ(30, rc.top);
        EXPECT_EQ(51, rc.right);
        EXPECT_EQ(61, rc.bottom);
        EXPECT_EQ(CPoint(15, 15), button.Center());
    }
    {
        Region empty(::CreateRectRgn(0, 0, 0, 0));
        CProbeButton button;
        ASSERT_TRUE(button.Create("C", kChildVisible, CPoint(200, 50), empty.h, &parent, kButtonId));
        const RECT rc = ChildRect(button.m_hWnd);
        EXPECT_EQ(200, rc.left);
        EXPECT_EQ(50, rc.top);
        EXPECT_EQ(200, rc.right);
        EXPECT_EQ(50, rc.bottom);
        EXPECT_EQ(CPoint(0, 0), button.Center());
    }
    {
        // Border style and colours given once outlive the window; the
        // highlight form sets the pressed and hover fills only. A window made
        // again renders again.
        Region shape(::CreateRectRgn(0, 0, 40, 20));
        CProbeButton button;
        ASSERT_TRUE(button.Create("", kChildVisible, CPoint(10, 200), shape.h, &parent, kButtonId, 2,
                                  RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(90, 90, 90)));
        Paint(button.m_hWnd);
        EXPECT_FALSE(button.NeedRender());
        const std::vector<COLORREF> first = ReadBitmap(button.Image(0)).colors;

        ASSERT_TRUE(button.DestroyWindow());
        ASSERT_TRUE(button.Create("", kChildVisible, CPoint(10, 200), shape.h, &parent, kButtonId,
                                  RGB(10, 20, 30)));
        EXPECT_TRUE(button.NeedRender());
        Paint(button.m_hWnd);
        EXPECT_FALSE(button.NeedRender());
        EXPECT_EQ(RGB(200, 0, 0), ReadBitmap(button.Image(0)).At(20, 10));
        EXPECT_EQ(RGB(10, 20, 30), ReadBitmap(button.Image(1)).At(20, 10));
        EXPECT_EQ(RGB(10, 20, 30), ReadBitmap(button.Image(2)).At(20, 10));
        EXPECT_EQ(RGB(90, 90, 90), ReadBitmap(button.Image(3)).At(20, 10));
        EXPECT_EQ(first, ReadBitmap(button.Image(0)).colors);
    }
}

namespace {

// Four fills that no system colour of the edges or the caption shares.
const COLORREF kFills[4] = {RGB(200, 40, 40), RGB(40, 200, 40), RGB(40, 40, 200), RGB(120, 120, 40)};

BOOL CreateColoured(CRegionButton& button, LPCSTR pszCaption, DWORD dwStyle, CPoint point, HRGN hRgn,
                    CWnd* pParent, UINT nID, int nBorder)
{
    return button.Create(pszCaption, dwStyle, point, hRgn, pParent, nID, nBorder, kFills[0], kFills[1], kFills[2],
                         kFills[3]);
}

// Counts the pixels of the button's box on screen that differ from the given
// image inside the shape and from the parent's background outside it.
int ScreenMismatches(CWnd& parent, CProbeButton& button, HRGN hShape, int nImage)
{
    const Pixels screen = ReadScreen(parent.m_hWnd, ChildRect(button.m_hWnd));
    const Pixels image = ReadBitmap(button.Image(nImage));
    int nWrong = 0;
    for (int y = 0; y < screen.cy; ++y)
        for (int x = 0; x < screen.cx; ++x)
            if (screen.At(x, y) != (::PtInRegion(hShape, x, y) ? image.At(x, y) : kParentBackground))
                ++nWrong;
    return nWrong;
}

HRGN Rectangle50x24() { return ::CreateRectRgn(0, 0, 50, 24); }
HRGN Ellipse80x60() { return ::CreateEllipticRgn(0, 0, 80, 60); }

// A box around the pixels of colour cr inside area; empty when none is.
RECT InkBox(const Pixels& px, COLORREF cr, const RECT& area)
{
    RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (px.At(x, y) == cr) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box.left == INT_MAX ? RECT{0, 0, 0, 0} : box;
}

// Where text drawn bottom-centred at a point puts its ink, relative to that
// point: the test draws the caption itself at a known point.
struct InkOffset {
    RECT box;  // ink box minus the reference point
    int nTextHeight;
};

InkOffset ReferenceInk(HFONT hFont, const char* pszText, COLORREF crText, COLORREF crBack)
{
    const HDC hScreen = ::GetDC(nullptr);
    const HDC hMem = ::CreateCompatibleDC(hScreen);
    const HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 200, 100);
    ::ReleaseDC(nullptr, hScreen);
    const HGDIOBJ hOldBitmap = ::SelectObject(hMem, hBitmap);
    const HGDIOBJ hOldFont = ::SelectObject(hMem, hFont);
    const RECT all{0, 0, 200, 100};
    const HBRUSH hBack = ::CreateSolidBrush(crBack);
    ::FillRect(hMem, &all, hBack);
    ::DeleteObject(hBack);
    ::SetBkMode(hMem, TRANSPARENT);
    ::SetTextColor(hMem, crText);
    ::SetTextAlign(hMem, TA_CENTER | TA_BOTTOM);
    const std::wstring text = WideFromGbk(pszText);
    ::TextOutW(hMem, 100, 70, text.c_str(), static_cast<int>(text.size()));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(hMem, &tm);
    ::SelectObject(hMem, hOldFont);
    ::SelectObject(hMem, hOldBitmap);
    ::DeleteDC(hMem);
    RECT box = InkBox(ReadBitmap(hBitmap), crText, all);
    ::DeleteObject(hBitmap);
    ::OffsetRect(&box, -100, -70);
    return {box, tm.tmHeight};
}

// The bottom-centre point at which the image's caption was drawn.
CPoint CaptionPoint(const Pixels& image, COLORREF crInk, const InkOffset& reference)
{
    const RECT inner{3, 3, image.cx - 3, image.cy - 3};
    const RECT box = InkBox(image, crInk, inner);
    EXPECT_EQ(reference.box.right - reference.box.left, box.right - box.left);
    EXPECT_EQ(reference.box.bottom - reference.box.top, box.bottom - box.top);
    return CPoint(box.left - reference.box.left, box.top - reference.box.top);
}

HFONT MakeTestFont()
{
    LOGFONTA lf{};
    lf.lfHeight = -12;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    strcpy(lf.lfFaceName, "Tahoma");
    return ::CreateFontIndirectA(&lf);
}

} // namespace

TEST(RegionButton, EdgeBandsFollowTheWholeOutline)
{
    CTestParent parent;
    ASSERT_TRUE(parent.Create(400, 300));

    // The visible colours of a rectangle's edge, raised and sunken.
    const auto sys = [](int n) { return ::GetSysColor(n); };
    {
        Region shape(Rectangle50x24());
        CProbeButton button;
        ASSERT_TRUE(CreateColoured(button, "", kChildVisible, CPoint(100, 100), shape.h, &parent, kButtonId, 2));
        Paint(button.m_hWnd);
        const Pixels raised = ReadBitmap(button.Image(0));
        const Pixels sunken = ReadBitmap(button.Image(1));
        ASSERT_EQ(50, raised.cx);
        ASSERT_EQ(24, raised.cy);
        EXPECT_EQ(sys(COLOR_3DLIGHT), raised.At(20, 0));
        EXPECT_EQ(sys(COLOR_3DLIGHT), raised.At(0, 10));
        EXPECT_EQ(sys(COLOR_BTNHIGHLIGHT), raised.At(20, 1));
        EXPECT_EQ(sys(COLOR_BTNHIGHLIGHT), raised.At(1, 10));
        EXPECT_EQ(sys(COLOR_3DDKSHADOW), raised.At(20, 23));
        EXPECT_EQ(sys(COLOR_3DDKSHADOW), raised.At(49, 10));
        EXPECT_EQ(sys(COLOR_BTNSHADOW), raised.At(20, 22));
        EXPECT_EQ(sys(COLOR_BTNSHADOW), raised.At(48, 10));
        EXPECT_EQ(kFills[0], raised.At(20, 2));
        EXPECT_EQ(sys(COLOR_BTNSHADOW), sunken.At(20, 0));
        EXPECT_EQ(sys(COLOR_3DDKSHADOW), sunken.At(1, 10));
        EXPECT_EQ(sys(COLOR_BTNHIGHLIGHT), sunken.At(49, 10));
        EXPECT_EQ(sys(COLOR_3DLIGHT), sunken.At(20, 22));
        EXPECT_EQ(kFills[1], sunken.At(20, 2));
    }
    // Every pixel of every image, for curved and cut shapes, and what reaches
    // the screen: the parent's own pixels outside the shape.
    struct Case {
        const char* pszName;
        HRGN (*pfnShape)();
        int nBorder;
    };
    const Case cases[] = {
        {"rectangle", Rectangle50x24, 2}, {"ellipse", Ellipse80x60, 2}, {"notched", NotchedShape, 2},
        {"rectangle", Rectangle50x24, 1}, {"ellipse", Ellipse80x60, 1},   {"notched", NotchedShape, 0},
    };
    for (const Case& c : cases) {
        Region shape(c.pfnShape());
        CProbeButton button;
        ASSERT_TRUE(CreateColoured(button, "", kChildVisible, CPoint(100, 100), shape.h, &parent, kButtonId,
                                   c.nBorder));
        Paint(button.m_hWnd);
        RECT box;
        ::GetRgnBox(shape.h, &box);
        for (int nImage = 0; nImage < 4; ++nImage) {
            const Pixels px = ReadBitmap(button.Image(nImage));
            ASSERT_EQ(box.right, px.cx);
            ASSERT_EQ(box.bottom, px.cy);
            int nWrong = 0;
            for (int y = 0; y < px.cy; ++y)
                for (int x = 0; x < px.cx; ++x)
                    if (px.At(x, y) != ExpectedEdgeColor(shape.h, x, y, c.nBorder, nImage == 1, kFills[nImage]))
                        ++nWrong;
            EXPECT_EQ(0, nWrong) << c.pszName << " border " << c.nBorder << " image " << nImage;
        }
        EXPECT_EQ(0, ScreenMismatches(parent, button, shape.h, button.Hover() ? 2 : 0)) << c.pszName;
        button.EnableWindow(FALSE);
        Paint(button.m_hWnd);
        EXPECT_EQ(0, ScreenMismatches(parent, button, shape.h, 3)) << c.pszName;
    }
}

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

} // namespace

TEST(RegionButton, EdgesGrowWithTheDialogsBaseUnits)
{
    // A dialog of an 18-point font: base units twice the 6 x 12 the edges were drawn for.
    DLGTEMPLATE header{};
    header.style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    header.cx = 200;
    header.cy = 100;
    // The header, no menu, the standard class, no title, then the font.
    std::vector<WORD> dlgTemplate(sizeof header / sizeof(WORD) + 3);
    memcpy(dlgTemplate.data(), &header, sizeof header);
    dlgTemplate.push_back(18);
    for (const char* p = "MS Shell Dlg"; ; ++p) {
        dlgTemplate.push_back(static_cast<WORD>(*p));
        if (!*p)
            break;
    }
    const auto* pHeader = reinterpret_cast<const DLGTEMPLATE*>(dlgTemplate.data());
    const HWND hDlg = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), pHeader, nullptr, PlainDialogProc, 0);
    ASSERT_NE(nullptr, hDlg);
    RECT units{0, 0, 4, 8};
    ::MapDialogRect(hDlg, &units);
    ASSERT_EQ(12, units.right);
    ASSERT_EQ(24, units.bottom);

    CWnd* pDialog = CWnd::FromHandle(hDlg);
    Region shape(Rectangle50x24());
    for (const int nBorder : {2, 1}) {
        CProbeButton button;
        ASSERT_TRUE(CreateColoured(button, "", kChildVisible, CPoint(10, 10), shape.h, pDialog, kButtonId, nBorder));
        Paint(button.m_hWnd);
        for (const int nImage : {0, 1}) {
            const Pixels px = ReadBitmap(button.Image(nImage));
            int nWrong = 0;
            for (int y = 0; y < px.cy; ++y)
                for (int x = 0; x < px.cx; ++x)
                    if (px.At(x, y) != ExpectedEdgeColor(shape.h, x, y, nBorder, nImage == 1, kFills[nImage], 2))
                        ++nWrong;
            EXPECT_EQ(0, nWrong) << "border " << nBorder << " image " << nImage;
        }
    }
    ::DestroyWindow(hDlg);
}

TEST(RegionButton, CaptionIsCentredOnTheShape)
{
    CTestParent parent;
    ASSERT_TRUE(parent.Create(400, 300));
    const HFONT hFont = MakeTestFont();
    const COLORREF crText = ::GetSysColor(COLOR_BTNTEXT);
    const COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    // An ampersand is plain text: the reference draws it too.
    const char* const pszCaption = "&H8";

    for (const HFONT hParentFont : {hFont, static_cast<HFONT>(nullptr)}) {
        parent.m_hFont = hParentFont;
        const HFONT hUsed = hParentFont ? hParentFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        for (const int nBorder : {2, 1, 0}) {
            Region shape(Rectangle50x24());
            CProbeButton button;
            ASSERT_TRUE(CreateColoured(button, pszCaption, kChildVisible, CPoint(100, 100), shape.h, &parent,
                                       kButtonId, nBorder));
            Paint(button.m_hWnd);

            const InkOffset normal = ReferenceInk(hUsed, pszCaption, crText, kFills[0]);
            ASSERT_GT(normal.box.right, normal.box.left);
            const CPoint p(25, 12 + normal.nTextHeight / 2);
            EXPECT_EQ(p, CaptionPoint(ReadBitmap(button.Image(0)), crText, normal)) << nBorder;
            EXPECT_EQ(p, CaptionPoint(ReadBitmap(button.Image(2)), crText,
                                      ReferenceInk(hUsed, pszCaption, crText, kFills[2])))
                << nBorder;
            EXPECT_EQ(CPoint(p.x + nBorder, p.y + nBorder),
                      CaptionPoint(ReadBitmap(button.Image(1)), crText,
                                   ReferenceInk(hUsed, pszCaption, crText, kFills[1])))
                << nBorder;

            // Etched: the shadow copy at the point, the highlight copy one pixel
            // right and down, underneath.
            const Pixels disabled = ReadBitmap(button.Image(3));
            EXPECT_EQ(p, CaptionPoint(disabled, crShadow, ReferenceInk(hUsed, pszCaption, crShadow, kFills[3])))
                << nBorder;
            const RECT inner{3, 3, 47, 21};
            const RECT shadowBox = InkBox(disabled, crShadow, inner);
            const RECT highlightBox = InkBox(disabled, crHighlight, inner);
            EXPECT_EQ(shadowBox.right + 1, highlightBox.right) << nBorder;
            EXPECT_EQ(shadowBox.bottom + 1, highlightBox.bottom) << nBorder;
        }
    }
    ::DeleteObject(hFont);
}

// A Chinese caption is drawn as its characters under any ANSI code page.
TEST(RegionButton, AnyCodePage_ChineseCaptionIsDrawnAsItsCharacters)
{
    CTestParent parent;
    ASSERT_TRUE(parent.Create(400, 300));
    parent.m_hFont = MakeTestFont();
    Region shape(Rectangle50x24());
    CProbeButton button;
    ASSERT_TRUE(CreateColoured(button, "设置", kChildVisible, CPoint(100, 100), shape.h, &parent, kButtonId, 2));
    Paint(button.m_hWnd);
    const COLORREF crText = ::GetSysColor(COLOR_BTNTEXT);
    const InkOffset reference = ReferenceInk(parent.m_hFont, "设置", crText, kFills[0]);
    CaptionPoint(ReadBitmap(button.Image(0)), crText, reference);
    ::DeleteObject(parent.m_hFont);
}

TEST(RegionButton, HoverAndClicksFollowTheRealPointer)
{
    KOVNA_REQUIRE_XDOTOOL();
    CTestParent parent;
    ASSERT_TRUE(parent.Create(400, 300));
    Region ellipse(Ellipse80x60());
    Region rectangle(Rectangle50x24());
    CProbeButton button;
    ASSERT_TRUE(CreateColoured(button, "", kChildVisible, CPoint(100, 100), ellipse.h, &parent, kButtonId, 2));
    CProbeButton disabled;
    ASSERT_TRUE(CreateColoured(disabled, "", kChildVisible | WS_DISABLED, CPoint(250, 100), rectangle.h, &parent,
                               kButtonId + 1, 2));
    Paint(button.m_hWnd);
    Paint(disabled.m_hWnd);
    const auto pushed = [&] { return (button.SendMessage(BM_GETSTATE) & BST_PUSHED) != 0; };

    // Into the shape, around inside it, out through a corner of its box.
    MoveTo(parent.m_hWnd, 20, 20);
    EXPECT_FALSE(button.Hover());
    EXPECT_EQ(nullptr, ::GetCapture());
    int nDraws = button.m_nDraws;
    MoveTo(parent.m_hWnd, 140, 130);
    EXPECT_TRUE(button.Hover());
    EXPECT_TRUE(button.Captured());
    EXPECT_EQ(button.m_hWnd, ::GetCapture());
    EXPECT_EQ(nDraws + 1, button.m_nDraws);
    EXPECT_EQ(0, ScreenMismatches(parent, button, ellipse.h, 2));
    for (const POINT& inside : {POINT{150, 140}, POINT{115, 125}, POINT{170, 130}}) {
        MoveTo(parent.m_hWnd, inside.x, inside.y);
        EXPECT_EQ(button.m_hWnd, ::GetCapture());
    }
    EXPECT_EQ(nDraws + 1, button.m_nDraws);
    MoveTo(parent.m_hWnd, 102, 102);
    EXPECT_FALSE(button.Hover());
    EXPECT_FALSE(button.Captured());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(nDraws + 2, button.m_nDraws);
    EXPECT_EQ(0, ScreenMismatches(parent, button, ellipse.h, 0));
    MoveTo(parent.m_hWnd, 20, 20);
    EXPECT_EQ(nDraws + 2, button.m_nDraws);

    // A disabled button takes no hover.
    const int nDisabledDraws = disabled.m_nDraws;
    MoveTo(parent.m_hWnd, 275, 112);
    EXPECT_FALSE(disabled.Hover());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(nDisabledDraws, disabled.m_nDraws);
    EXPECT_EQ(0, ScreenMismatches(parent, disabled, rectangle.h, 3));

    // A double click is two clicks.
    MoveTo(parent.m_hWnd, 140, 130);
    XdoTool("click --repeat 2 --delay 80 1");
    EXPECT_TRUE(PumpUntil([&] { return parent.m_nClicks == 2; }, 3000));
    PumpFor(200);
    EXPECT_EQ(2, parent.m_nClicks);
    EXPECT_EQ(1, button.m_nDoubleClicks);
    EXPECT_TRUE(button.Hover());
    EXPECT_EQ(button.m_hWnd, ::GetCapture());

    // A press that leaves and comes back: the pressed look goes and returns,
    // the hover state stays, and the release inside clicks.
    parent.m_nClicks = 0;
    XdoTool("mousedown 1");
    ASSERT_TRUE(PumpUntil(pushed, 3000));
    PumpFor(100);
    EXPECT_EQ(0, ScreenMismatches(parent, button, ellipse.h, 1));
    MoveTo(parent.m_hWnd, 20, 20);
    EXPECT_TRUE(PumpUntil([&] { return !pushed(); }, 3000));
    EXPECT_TRUE(button.Hover());
    EXPECT_EQ(button.m_hWnd, ::GetCapture());
    EXPECT_EQ(0, ScreenMismatches(parent, button, ellipse.h, 2));
    MoveTo(parent.m_hWnd, 140, 130);
    EXPECT_TRUE(PumpUntil(pushed, 3000));
    XdoTool("mouseup 1");
    EXPECT_TRUE(PumpUntil([&] { return parent.m_nClicks == 1; }, 3000));
    PumpFor(100);
    EXPECT_TRUE(button.Hover());
    EXPECT_TRUE(button.Captured());
    EXPECT_EQ(button.m_hWnd, ::GetCapture());

    // Released outside: no click, no hover, no capture.
    XdoTool("mousedown 1");
    ASSERT_TRUE(PumpUntil(pushed, 3000));
    MoveTo(parent.m_hWnd, 20, 20);
    XdoTool("mouseup 1");
    EXPECT_TRUE(PumpUntil([&] { return !button.Captured() && !::GetCapture(); }, 3000));
    PumpFor(100);
    EXPECT_EQ(1, parent.m_nClicks);
    EXPECT_FALSE(button.Hover());

    // The click handler makes the window again with a new caption; the
    // release goes on with the new window.
    parent.m_onClick = [&] {
        button.DestroyWindow();
        button.Create("重设", kChildVisible, CPoint(100, 100), ellipse.h, &parent, kButtonId);
    };
    const HWND hOld = button.m_hWnd;
    MoveTo(parent.m_hWnd, 140, 130);
    XdoTool("click 1");
    EXPECT_TRUE(PumpUntil([&] { return parent.m_nClicks == 2; }, 3000));
    PumpFor(150);
    parent.m_onClick = nullptr;
    EXPECT_FALSE(::IsWindow(hOld));
    ASSERT_TRUE(::IsWindow(button.m_hWnd));
    EXPECT_EQ("重设", std::string(WindowText(button.m_hWnd)));
    EXPECT_TRUE(button.Hover());
    EXPECT_EQ(button.m_hWnd, ::GetCapture());
    EXPECT_FALSE(button.NeedRender());
    EXPECT_EQ(0, ScreenMismatches(parent, button, ellipse.h, 2));
    MoveTo(parent.m_hWnd, 20, 20);
    EXPECT_FALSE(button.Hover());
    EXPECT_EQ(nullptr, ::GetCapture());
}

// Handle counts: a parent with a font, a button made from an elliptic shape
// (white, border style 2, like the dialog's), warmed up so that caches of the
// system are filled before the counting starts.
class RegionButtonHandles : public ::testing::Test {
protected:
    CTestParent m_parent;
    Region m_shape{::CreateEllipticRgn(0, 0, 50, 24)};
    CProbeButton m_button;
    int m_nBase = 0;

    void SetUp() override
    {
        ASSERT_TRUE(m_parent.Create(400, 300));
        m_parent.m_hFont = MakeTestFont();
        for (int i = 0; i < 20; ++i) {
            Recreate(m_button);
            HoverCycle();
        }
        m_nBase = GdiObjectCount();
        ASSERT_GT(m_nBase, 0);
    }
    void TearDown() override
    {
        m_button.DestroyWindow();
        ::DeleteObject(m_parent.m_hFont);
    }

    BOOL Create(CProbeButton& button)
    {
        return button.Create("设置", kChildVisible, CPoint(100, 100), m_shape.h, &m_parent, kButtonId, 2,
                             RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                             ::GetSysColor(COLOR_BTNFACE));
    }
    // Made again and painted, which renders its four images.
    void Recreate(CProbeButton& button)
    {
        button.DestroyWindow();
        ASSERT_TRUE(Create(button));
        Paint(button.m_hWnd);
    }
    // Into the shape and out through a corner of its box, as the mouse would.
    void HoverCycle()
    {
        m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(25, 12));
        m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    }
};

TEST_F(RegionButtonHandles, FlatOverTenThousandRecreations)
{
    for (int i = 0; i < 10000; ++i)
        Recreate(m_button);
    EXPECT_FALSE(m_button.NeedRender());
    EXPECT_EQ(m_nBase, GdiObjectCount());
}

TEST_F(RegionButtonHandles, FlatOverTenThousandHoverCyclesAndOwnership)
{
    const int nDraws = m_button.m_nDraws;
    for (int i = 0; i < 10000; ++i)
        HoverCycle();
    EXPECT_EQ(nDraws + 20000, m_button.m_nDraws);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(m_nBase, GdiObjectCount());

    // Gone with its object: the window, the window's region, the four images.
    m_button.DestroyWindow();
    const int nNoWindow = GdiObjectCount();
    {
        auto pButton = std::make_unique<CProbeButton>();
        ASSERT_TRUE(Create(*pButton));
        Paint(pButton->m_hWnd);
        const HWND hWnd = pButton->m_hWnd;
        pButton.reset();
        EXPECT_FALSE(::IsWindow(hWnd));
    }
    EXPECT_EQ(nNoWindow, GdiObjectCount());

    // A copy that no window took stays the button's until its next creation
    // or its destruction.
    {
        CProbeButton orphan;
        EXPECT_FALSE(orphan.Create("x", kChildVisible, CPoint(0, 0), m_shape.h, nullptr, kButtonId));
        EXPECT_NE(nullptr, orphan.OwnedRegion());
        EXPECT_EQ(nNoWindow + 1, GdiObjectCount());
        ASSERT_TRUE(Create(orphan));
        EXPECT_EQ(nullptr, orphan.OwnedRegion());
        EXPECT_FALSE(orphan.Create("x", kChildVisible, CPoint(0, 0), m_shape.h, nullptr, kButtonId));
    }
    EXPECT_EQ(nNoWindow, GdiObjectCount());
}
