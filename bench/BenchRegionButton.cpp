// Cost of the region button's two kinds of drawing: the render pass that
// makes the four state images once per window, and the clipped copy of one
// image that every later paint does. Prints microseconds per operation,
// the best of five batches.
#include <cstdio>

#include "controls/RegionButton.h"

namespace {

constexpr UINT kButtonId = 1901;

class CBenchButton : public CRegionButton {
public:
    void RequestRender() { m_bNeedRender = TRUE; }
};

class CBenchParent : public CWnd {
public:
    BOOL Create()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = "KovnaRegionButtonBench";
        ::RegisterClassA(&wc);
        return CreateEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, 0);
    }
};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// The best of five batches: the machine is shared, and other work only adds.
template <class F>
double MicrosecondsEach(int nRuns, F&& operation)
{
    double best = 0;
    for (int nBatch = 0; nBatch < 5; ++nBatch) {
        const double start = Now();
        for (int i = 0; i < nRuns; ++i)
            operation();
        const double each = (Now() - start) / nRuns;
        if (nBatch == 0 || each < best)
            best = each;
    }
    return best;
}

void Report(const char* pszShape, HRGN hRgn, CBenchParent& parent)
{
    CBenchButton button;
    button.Create("设置", WS_CHILD | WS_VISIBLE, CPoint(20, 20), hRgn, &parent, kButtonId, 2, RGB(255, 255, 255),
                  RGB(255, 255, 255), RGB(255, 255, 255), ::GetSysColor(COLOR_BTNFACE));
    CRect rect;
    button.GetClientRect(&rect);

    // DrawItem alone, into a memory context, as the button's paint calls it.
    CDCHandle screen(::GetDC(nullptr));
    CMemoryDC memDC;
    memDC.CreateCompatibleDC(&screen);
    CBitmap target;
    target.CreateCompatibleBitmap(&screen, rect.Width(), rect.Height());
    ::ReleaseDC(nullptr, screen);
    const CGdiSelection selected(memDC, target);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = kButtonId;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = memDC;
    dis.rcItem = rect;
    const int nRuns = 400;
    const double renderAndBlit = MicrosecondsEach(nRuns, [&] {
        button.RequestRender();
        button.DrawItem(&dis);
    });
    const double blitOnly = MicrosecondsEach(nRuns, [&] { button.DrawItem(&dis); });

    // The same through the window's own paint (what a hover change costs).
    const UINT nRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
    const double paintWithRender = MicrosecondsEach(nRuns, [&] {
        button.RequestRender();
        button.RedrawWindow(nullptr, nullptr, nRedraw);
    });
    const double paintBlit = MicrosecondsEach(nRuns, [&] { button.RedrawWindow(nullptr, nullptr, nRedraw); });

    std::printf("%-10s %3d x %-3d  render pass %8.1f us  blit %6.1f us  |  window paint: first %8.1f us, "
                "later %6.1f us\n",
                pszShape, rect.Width(), rect.Height(), renderAndBlit - blitOnly, blitOnly, paintWithRender,
                paintBlit);
}

} // namespace

int main()
{
    CBenchParent parent;
    if (!parent.Create()) {
        std::printf("no window could be made (is there a display?)\n");
        return 1;
    }
    struct Shape {
        const char* pszName;
        HRGN hRgn;
    } shapes[] = {
        {"rectangle", ::CreateRectRgn(0, 0, 50, 24)},
        {"ellipse", ::CreateEllipticRgn(0, 0, 50, 24)},
        {"large", ::CreateRoundRectRgn(0, 0, 200, 120, 40, 40)},
    };
    for (const Shape& shape : shapes) {
        Report(shape.pszName, shape.hRgn, parent);
        ::DeleteObject(shape.hRgn);
    }
    return 0;
}
