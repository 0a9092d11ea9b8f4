// What windows and bitmaps show, read back pixel by pixel.
#include "Pixels.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "DialogHarness.h"

namespace {

std::map<COLORREF, int> Histogram(const Pixels& px, const RECT& rc)
{
    std::map<COLORREF, int> counts;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            ++counts[px.At(x, y)];
    return counts;
}

double Luminance(COLORREF cr)
{
    const auto linear = [](int n) {
        const double c = n / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(cr)) + 0.7152 * linear(GetGValue(cr)) + 0.0722 * linear(GetBValue(cr));
}

} // namespace

double ContrastRatio(COLORREF a, COLORREF b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

COLORREF Pixels::Commonest(const RECT& rc) const
{
    const std::map<COLORREF, int> counts = Histogram(*this, rc);
    const auto it = std::max_element(counts.begin(), counts.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
    return it == counts.end() ? CLR_INVALID : it->first;
}

double Pixels::BestContrast(const RECT& rc) const
{
    const COLORREF crBack = Commonest(rc);
    double best = 1.0;
    for (const auto& [cr, nCount] : Histogram(*this, rc)) {
        if (nCount > 2)
            best = std::max(best, ContrastRatio(cr, crBack));
    }
    return best;
}

int Pixels::Differences(const Pixels& other, const std::vector<RECT>& leftOut) const
{
    if (cx != other.cx || cy != other.cy)
        return cx * cy;
    int nDifferent = 0;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            const POINT pt{x, y};
            const bool bLeftOut =
                std::any_of(leftOut.begin(), leftOut.end(), [&](const RECT& rc) { return ::PtInRect(&rc, pt); });
            nDifferent += !bLeftOut && At(x, y) != other.At(x, y);
        }
    return nDifferent;
}

double Pixels::Share(const RECT& rc, COLORREF cr) const
{
    int nHits = 0;
    int nAll = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            ++nAll;
            nHits += At(x, y) == cr;
        }
    }
    return nAll ? static_cast<double>(nHits) / nAll : 0.0;
}

Pixels ReadBitmap(HBITMAP hBitmap)
{
    BITMAP bm{};
    ::GetObjectA(hBitmap, sizeof bm, &bm);
    Pixels px;
    px.cx = bm.bmWidth;
    px.cy = bm.bmHeight;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), px.cx, -px.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> raw(static_cast<size_t>(px.cx * px.cy));
    const HDC hScreen = ::GetDC(nullptr);
    ::GetDIBits(hScreen, hBitmap, 0, static_cast<UINT>(px.cy), raw.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hScreen);
    for (const DWORD bgr : raw)
        px.colors.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    return px;
}

SIZE IconSize(HICON hIcon)
{
    ICONINFO info{};
    if (!::GetIconInfo(hIcon, &info))
        return SIZE{0, 0};
    BITMAP bm{};
    ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    // A monochrome icon's mask holds the AND and XOR halves one above the other.
    return SIZE{bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
}

void ShowAndPaint(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(150);
}

Pixels ReadScreen(HWND hWnd, const RECT& rc)
{
    const HDC hWindow = ::GetDC(hWnd);
    const HDC hMem = ::CreateCompatibleDC(hWindow);
    const HBITMAP hBitmap = ::CreateCompatibleBitmap(hWindow, rc.right - rc.left, rc.bottom - rc.top);
    const HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    ::BitBlt(hMem, 0, 0, rc.right - rc.left, rc.bottom - rc.top, hWindow, rc.left, rc.top, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::ReleaseDC(hWnd, hWindow);
    Pixels px = ReadBitmap(hBitmap);
    ::DeleteObject(hBitmap);
    return px;
}

Pixels ReadClient(HWND hWnd)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    return ReadScreen(hWnd, rc);
}

COLORREF ClientPixel(HWND hWnd, int x, int y) { return ReadScreen(hWnd, RECT{x, y, x + 1, y + 1}).At(0, 0); }
