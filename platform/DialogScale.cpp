// Lengths in design pixels scaled to a dialog's own base units.
#include "platform/DialogScale.h"

#include <algorithm>

CDialogScale::CDialogScale(HWND hDlg)
{
    // The dialog manager's own conversion: 4 units across and 8 down are one
    // base unit each, in whole pixels as it places every template control.
    RECT rc{0, 0, 4, 8};
    if (hDlg && ::MapDialogRect(hDlg, &rc) && rc.right > 0 && rc.bottom > 0) {
        m_nBaseX = rc.right;
        m_nBaseY = rc.bottom;
    }
}

int CDialogScale::Line(int nDesign) const
{
    return std::max(1, std::min(X(nDesign), Y(nDesign)));
}
