// What windows and bitmaps show, read back pixel by pixel.
#include "Pixels.h"

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
