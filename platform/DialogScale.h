// Lengths in pixels drawn for dialog base units of 6 x 12 (the 9-point
// system font of a Chinese Windows at 96 DPI), scaled to a dialog's own base
// units: the same pixels there, larger ones at a higher DPI or with a taller
// dialog font.
#pragma once

#include <windows.h>

#include "platform/Gdi.h"

class CDialogScale {
public:
    static constexpr int kDesignBaseX = 6;
    static constexpr int kDesignBaseY = 12;

    // The base units of hDlg; a window that is no dialog keeps the design's.
    explicit CDialogScale(HWND hDlg);

    int X(int nDesign) const { return ::MulDiv(nDesign, m_nBaseX, kDesignBaseX); }
    int Y(int nDesign) const { return ::MulDiv(nDesign, m_nBaseY, kDesignBaseY); }
    CPoint Point(int x, int y) const { return CPoint(X(x), Y(y)); }
    // A line's width: on the smaller of the two scales, so that a diagonal
    // edge stays even, and never thinner than one pixel.
    int Line(int nDesign) const;

private:
    int m_nBaseX = kDesignBaseX;
    int m_nBaseY = kDesignBaseY;
};
