// The nineteen controls of the main dialog as its template declares them.
#pragma once

#include <windows.h>

struct TemplateControl {
    int id;
    const char* cls;   // the template's class: "#n" for a predefined one
    const char* text;
    short x, y, cx, cy;
    DWORD style;
};

// In template order, which is also Z order.
extern const TemplateControl kMainControls[19];

// The window class a template class makes ("#130" is "Static").
const char* WindowClassOf(const char* pszTemplateClass);

// Where the dialog manager puts the control in hDlg, in client pixels.
RECT TemplateRect(HWND hDlg, const TemplateControl& c);
