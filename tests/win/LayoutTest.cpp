// The main dialog as it reads on screen: the command buttons against the
// template, both scaled with the dialog font and the DPI. ctest runs this in
// prefixes of other DPIs and dialog fonts as well, each naming the metrics it
// must see in KOVNA_EXPECT_METRICS ("<DPI> <base x>x<base y>").
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "app/KovnaDlg.h"
#include "res/resource.h"

namespace {

bool IsFrame(HWND hWnd) { return (::GetWindowLongA(hWnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX; }

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left > outer.left && inner.right < outer.right && inner.top > outer.top &&
           inner.bottom < outer.bottom;
}

bool Overlaps(const RECT& a, const RECT& b)
{
    RECT both;
    return ::IntersectRect(&both, &a, &b) != FALSE;
}

std::string Describe(const RECT& rc)
{
    return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + ")-(" + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom) + ")";
}

int CentreY(const RECT& rc) { return (rc.top + rc.bottom) / 2; }

// The window's text in the font of hFontOwner (a region button draws in its dialog's).
SIZE TextExtent(HWND hWnd, HWND hFontOwner)
{
    const CString text = WindowText(hWnd);
    const HDC hdc = ::GetDC(hWnd);
    const HGDIOBJ hOld = ::SelectObject(hdc, reinterpret_cast<HFONT>(::SendMessageA(hFontOwner, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32A(hdc, text.GetString(), text.GetLength(), &size);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hWnd, hdc);
    return size;
}

// The DPI and the dialog's base units, as KOVNA_EXPECT_METRICS spells them.
std::string Metrics(HWND hDlg)
{
    const HDC hdc = ::GetDC(hDlg);
    const int nDpi = ::GetDeviceCaps(hdc, LOGPIXELSY);
    ::ReleaseDC(hDlg, hdc);
    RECT rc{0, 0, 4, 8};
    ::MapDialogRect(hDlg, &rc);
    return std::to_string(nDpi) + " " + std::to_string(rc.right) + "x" + std::to_string(rc.bottom);
}

} // namespace

TEST(Layout, CommandButtonsStandInTheirFramesLevelWithTheirRowsAndFitTheirCaptions)
{
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const HWND hDlg = dlg.m_hWnd;
        const char* const pszExpected = std::getenv("KOVNA_EXPECT_METRICS");
        EXPECT_EQ(pszExpected ? pszExpected : "96 6x12", Metrics(hDlg));
        RECT frameSettings{}, frameButtons{};
        std::vector<HWND> templateControls;
        for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            const int id = ::GetDlgCtrlID(h);
            if (id == IDC_BTN_SET_AFTER || id == IDC_BTN_SET_AT || id == IDC_BTN_HIDE || id == IDC_BTN_HELP ||
                id == IDC_BTN_EXIT)
                continue;
            templateControls.push_back(h);
            const std::string text = WindowText(h).GetString();
            if (IsFrame(h) && text == "用户设置")
                frameSettings = ChildRect(h);
            if (IsFrame(h) && text == "功能按钮")
                frameButtons = ChildRect(h);
        }
        ASSERT_FALSE(::IsRectEmpty(&frameSettings));
        ASSERT_FALSE(::IsRectEmpty(&frameButtons));

        struct Placement {
            int id;
            const RECT* frame;
            int rowId;  // 0: no row of its own
        };
        const Placement placements[] = {
            {IDC_BTN_SET_AFTER, &frameSettings, IDC_EDIT_COUNT},
            {IDC_BTN_SET_AT, &frameSettings, IDC_DATE},
            {IDC_BTN_HIDE, &frameButtons, 0},
            {IDC_BTN_HELP, &frameButtons, 0},
            {IDC_BTN_EXIT, &frameButtons, 0},
        };
        for (const Placement& p : placements) {
            const HWND hButton = ::GetDlgItem(hDlg, p.id);
            ASSERT_NE(nullptr, hButton);
            const RECT rc = ChildRect(hButton);
            SCOPED_TRACE("button " + std::to_string(p.id) + " at " + Describe(rc));
            EXPECT_TRUE(Contains(*p.frame, rc)) << "frame " << Describe(*p.frame);
            // The caption clears the two-pixel edge, which grows with the button.
            const int nEdge = 2 * std::max(1, static_cast<int>(rc.bottom - rc.top) / 24);
            const SIZE caption = TextExtent(hButton, hDlg);
            EXPECT_LE(caption.cx, rc.right - rc.left - 2 * nEdge) << "caption " << WindowText(hButton).GetString();
            EXPECT_LE(caption.cy, rc.bottom - rc.top - 2 * nEdge) << "caption " << WindowText(hButton).GetString();
            if (p.rowId) {
                // Level: the row's middle lies in the middle half of the button.
                const RECT row = ChildRect(::GetDlgItem(hDlg, p.rowId));
                EXPECT_LE(std::abs(CentreY(row) - CentreY(rc)), (rc.bottom - rc.top) / 4) << "row " << Describe(row);
            }
            for (const HWND hControl : templateControls) {
                const RECT other = ChildRect(hControl);
                // A frame may hold a button but never cut through it.
                const bool bClear = IsFrame(hControl) ? !Overlaps(other, rc) || Contains(other, rc) : !Overlaps(other, rc);
                EXPECT_TRUE(bClear) << "crosses control " << ::GetDlgCtrlID(hControl) << " \""
                                    << WindowText(hControl).GetString() << "\" at " << Describe(other);
            }
        }
    });
}

TEST(Layout, ClockLineFitsItsField)
{
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const HWND hClock = ::GetDlgItem(dlg.m_hWnd, IDC_STATIC_CLOCK);
        ASSERT_TRUE(PumpUntil([&] { return ::GetWindowTextLengthA(hClock) > 0; }, 5000));
        RECT field;
        ::GetClientRect(hClock, &field);
        const SIZE text = TextExtent(hClock, hClock);
        EXPECT_LE(text.cx, field.right) << "clock text \"" << WindowText(hClock).GetString() << "\"";
        EXPECT_LE(text.cy, field.bottom);
    });
}
