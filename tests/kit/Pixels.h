// What windows and bitmaps show, read back pixel by pixel.
#pragma once

#include <vector>

#include <windows.h>

struct Pixels {
    int cx = 0;
    int cy = 0;
    std::vector<COLORREF> colors;
    COLORREF At(int x, int y) const { return colors[static_cast<size_t>(y * cx + x)]; }
    // Share of the pixels in rc that are exactly cr.
    double Share(const RECT& rc, COLORREF cr) const;
};

Pixels ReadBitmap(HBITMAP hBitmap);
// The size an icon draws at, from its colour bitmap.
SIZE IconSize(HICON hIcon);
// What the window shows now in rc (its client pixels); it must be visible and painted.
Pixels ReadScreen(HWND hWnd, const RECT& rc);
Pixels ReadClient(HWND hWnd);
COLORREF ClientPixel(HWND hWnd, int x, int y);
