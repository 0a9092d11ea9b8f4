// The main dialog as it reads on screen: the command buttons against the
// template, both scaled with the dialog font and the DPI, and every text in
// a field with room for it. ctest runs this in prefixes of other DPIs, dialog
// fonts and code pages as well; the first two name the metrics they must see
// in KOVNA_EXPECT_METRICS ("<DPI> <base x>x<base y>").
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/MainTemplate.h"
#include "kit/Recorder.h"
#include "app/KovnaDlg.h"
#include "res/resource.h"
#include "schedule/CountdownLoop.h"

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

// A text in the font of hFontOwner (a region button draws in its dialog's);
// blanks at its end draw nothing.
SIZE TextExtent(const std::string& text, HWND hFontOwner)
{
    const std::wstring wide = WideFromGbk(text.substr(0, text.find_last_not_of(' ') + 1));
    const HDC hdc = ::GetDC(hFontOwner);
    const HGDIOBJ hOld = ::SelectObject(hdc, reinterpret_cast<HFONT>(::SendMessageA(hFontOwner, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(hdc, wide.c_str(), static_cast<int>(wide.size()), &size);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hFontOwner, hdc);
    return size;
}

// Every text a static field can show: its own, or what the workers write
// there, with all digits set to each digit in turn.
std::vector<std::string> ShownTexts(HWND hField)
{
    std::vector<std::string> patterns;
    if (::GetDlgCtrlID(hField) == IDC_STATIC_COUNTDOWN) {
        for (const ScheduleKind kind : {SCHEDULE_AFTER, SCHEDULE_AT}) {
            for (const int nMode : {MODE_SHUTDOWN, MODE_REBOOT, MODE_ALARM})
                patterns.push_back(CountdownLine(INT_MAX, kind, nMode).GetString());
        }
    } else {
        patterns.push_back(WindowText(hField).GetString());
    }
    std::vector<std::string> texts;
    for (const std::string& pattern : patterns) {
        for (char digit = '0'; digit <= '9'; ++digit) {
            texts.push_back(pattern);
            std::replace_if(texts.back().begin(), texts.back().end(), [](char ch) { return ch >= '0' && ch <= '9'; },
                            digit);
        }
    }
    return texts;
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

// Each command button in its frame, level with its row, clear of every
// template control and with room for its caption.
void ExpectCommandButtonsInPlace(HWND hDlg)
{
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
        const SIZE caption = TextExtent(WindowText(hButton).GetString(), hDlg);
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
}

} // namespace

TEST(Layout, AnyCodePage_CommandButtonsStandInTheirFramesLevelWithTheirRowsAndFitTheirCaptions)
{
    CRecordingApi api;
    CScopedSystemApi seam(&api);
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const HWND hDlg = dlg.m_hWnd;
        // Under another code page Wine may give "MS Shell Dlg" a face of its own.
        const char* const pszExpected = std::getenv("KOVNA_EXPECT_METRICS");
        if (pszExpected || ::GetACP() == 936) {
            EXPECT_EQ(pszExpected ? pszExpected : "96 6x12", Metrics(hDlg));
        }
        ExpectCommandButtonsInPlace(hDlg);
        // Running, both Set buttons are made again as "重设", 26 high.
        ::SetDlgItemTextA(hDlg, IDC_EDIT_COUNT, "10");
        Click(hDlg, IDC_BTN_SET_AFTER);
        ASSERT_EQ("重设", ControlText(hDlg, IDC_BTN_SET_AT));
        SCOPED_TRACE("running");
        ExpectCommandButtonsInPlace(hDlg);
        Click(hDlg, IDC_BTN_SET_AFTER);
    });
}

TEST(Layout, AnyCodePage_EveryTextHasRoomForItsWidestTextAndNoControlCoversAnother)
{
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const HWND hDlg = dlg.m_hWnd;
        ASSERT_TRUE(PumpUntil([&] { return !ControlText(hDlg, IDC_STATIC_CLOCK).empty() &&
                                           !ControlText(hDlg, IDC_STATIC_SECONDS).empty(); },
                              5000));
        RECT unit{0, 0, 1, 0};
        ::MapDialogRect(hDlg, &unit);
        std::vector<RECT> frames, controls;
        for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            (IsFrame(h) ? frames : controls).push_back(ChildRect(h));

        size_t i = 0;
        for (HWND h = ::GetWindow(hDlg, GW_CHILD); h && i < 19; h = ::GetWindow(h, GW_HWNDNEXT), ++i) {
            const RECT rc = ChildRect(h);
            const RECT designed = TemplateRect(hDlg, kMainControls[i]);
            SCOPED_TRACE("control #" + std::to_string(i + 1) + " at " + Describe(rc));
            if (ClassName(h) == "Static") {
                SIZE room{};
                for (const std::string& text : ShownTexts(h)) {
                    const SIZE size = TextExtent(text, h);
                    room.cx = std::max(room.cx, size.cx);
                    room.cy = std::max(room.cy, size.cy);
                }
                // Wider by what its widest text needs, and not a pixel more.
                EXPECT_EQ(std::max(designed.right - designed.left, room.cx), rc.right - rc.left);
                EXPECT_LE(room.cy, rc.bottom - rc.top);
            }
            if (rc.left != designed.left) {
                // Moved right only as far as it must to clear what stands before it.
                EXPECT_GT(rc.left, designed.left);
                LONG nBefore = 0;
                for (const RECT& other : controls) {
                    if (other.right <= rc.left && other.top < rc.bottom && other.bottom > rc.top)
                        nBefore = std::max(nBefore, other.right);
                }
                EXPECT_LE(rc.left - nBefore, unit.right);
            }
        }
        for (size_t a = 0; a < controls.size(); ++a) {
            for (size_t b = a + 1; b < controls.size(); ++b)
                EXPECT_FALSE(Overlaps(controls[a], controls[b])) << Describe(controls[a]) << Describe(controls[b]);
            // A frame holds a control whole or not at all.
            for (const RECT& frame : frames)
                EXPECT_TRUE(!Overlaps(frame, controls[a]) || Contains(frame, controls[a])) << Describe(controls[a]);
        }
    });
}
