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
    // The colour of most pixels in rc: what a text there is drawn on.
    COLORREF Commonest(const RECT& rc) const;
    // How well the best-reading colour of rc stands out against its commonest
    // one; a colour of one or two stray pixels is no text.
    double BestContrast(const RECT& rc) const;
    // The number of pixels that differ from other's, outside the rectangles left out.
    int Differences(const Pixels& other, const std::vector<RECT>& leftOut = {}) const;
};

// The contrast ratio of two colours, from 1 (alike) to 21 (black and white),
// by their relative luminance in sRGB.
double ContrastRatio(COLORREF a, COLORREF b);

Pixels ReadBitmap(HBITMAP hBitmap);
// The size an icon draws at, from its colour bitmap.
SIZE IconSize(HICON hIcon);
// Paints the window and its children now and lets the paint settle, for a capture.
void ShowAndPaint(HWND hWnd);
// What the window shows now in rc (its client pixels); it must be visible and painted.
Pixels ReadScreen(HWND hWnd, const RECT& rc);
Pixels ReadClient(HWND hWnd);
COLORREF ClientPixel(HWND hWnd, int x, int y);
