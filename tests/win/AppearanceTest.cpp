// The main dialog's look, its contrast in each colour scheme and a change of
// scheme, on the real dialog under its real modal loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "kit/AboutBox.h"
#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/Pixels.h"
#include "kit/Recorder.h"
#include "kit/Schemes.h"
#include "app/KovnaDlg.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
// A child the dialog does not know.
constexpr int kStrangerId = IDC_STATIC_COUNTDOWN + 1000;

// Counts WM_ICONERASEBKGND, which only the minimised paint sends.
class CCountingDlg : public CKovnaDlg {
public:
    int m_nIconErase = 0;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == WM_ICONERASEBKGND)
            ++m_nIconErase;
        return CKovnaDlg::WindowProc(nMsg, wParam, lParam);
    }
};

bool IsClassOf(HWND hWnd, const char* pszClass) { return ::lstrcmpiA(ClassName(hWnd).c_str(), pszClass) == 0; }

// The extent of a window's text in its own font.
SIZE TextExtent(HWND hWnd)
{
    wchar_t szText[256] = {};
    const int n = ::GetWindowTextW(hWnd, szText, 256);
    const HDC hdc = ::GetDC(hWnd);
    const HGDIOBJ hOld = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(hdc, szText, n, &size);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hWnd, hdc);
    return size;
}

// Where each child of hParent that shows a text has it: a static with a
// text, a group box's caption, a button, the field inside its border, a list
// or picker without its drop button.
std::vector<std::pair<HWND, RECT>> TextAreas(HWND hParent)
{
    std::vector<std::pair<HWND, RECT>> areas;
    for (HWND hItem = ::GetWindow(hParent, GW_CHILD); hItem; hItem = ::GetWindow(hItem, GW_HWNDNEXT)) {
        RECT rc = ChildRect(hItem);
        const LONG nStyle = ::GetWindowLongW(hItem, GWL_STYLE);
        if (IsClassOf(hItem, "Static")) {
            if ((nStyle & SS_TYPEMASK) == SS_ICON || WindowText(hItem).IsEmpty())
                continue;
        } else if (IsClassOf(hItem, "Button") && (nStyle & BS_TYPEMASK) == BS_GROUPBOX) {
            const SIZE caption = TextExtent(hItem);
            rc.bottom = rc.top + caption.cy;
            rc.right = std::min<LONG>(rc.right, rc.left + caption.cx + 16);
        } else if (IsClassOf(hItem, "Edit")) {
            ::InflateRect(&rc, -2, -2);
        } else if (IsClassOf(hItem, "ComboBox") || IsClassOf(hItem, "SysDateTimePick32")) {
            ::InflateRect(&rc, -2, -2);
            rc.right -= ::GetSystemMetrics(SM_CXVSCROLL);
        } else if (!IsClassOf(hItem, "Button")) {
            continue;
        }
        areas.push_back({hItem, rc});
    }
    return areas;
}

// On a capture of the window as it shows now, every enabled text holds two
// colours that read together (the contrast rules' 4.5 : 1; disabled texts
// are meant to recede).
void ExpectEveryTextReads(HWND hParent, const char* pszFace)
{
    const Pixels shot = ReadClient(hParent);
    int nTexts = 0;
    for (const auto& [hItem, rc] : TextAreas(hParent)) {
        if (!::IsWindowEnabled(hItem))
            continue;
        ++nTexts;
        EXPECT_GE(shot.BestContrast(rc), 4.5) << pszFace << ": " << ClassName(hItem) << " " << ::GetDlgCtrlID(hItem)
                                              << " at " << rc.left << "," << rc.top;
    }
    EXPECT_GT(nTexts, 2) << pszFace;
}

// The face of a user who typed a count of 10: the focus in the field.
void TypeTheCount(HWND hDlg)
{
    ::SetFocus(::GetDlgItem(hDlg, IDC_EDIT_COUNT));
    ::SetDlgItemTextW(hDlg, IDC_EDIT_COUNT, L"10");
}

// The colour that most of the button nID shows now.
COLORREF FaceOf(HWND hDlg, int nID)
{
    const Pixels shot = ReadScreen(hDlg, ChildRect(hDlg, nID));
    return shot.Commonest(RECT{0, 0, shot.cx, shot.cy});
}

} // namespace

TEST(Appearance, WhiteClientWithBlackFrameAndWhiteControlBackgrounds)
{
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const HWND hDlg = dlg.m_hWnd;
        ShowAndPaint(hDlg);
        RECT rc;
        ::GetClientRect(hDlg, &rc);
        const int w = rc.right;
        const int h = rc.bottom;

        // One pixel of black along each edge, white just inside it.
        for (const POINT pt : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}, POINT{w / 2, 0},
                               POINT{w / 2, h - 1}, POINT{0, h / 2}, POINT{w - 1, h / 2}}) {
            EXPECT_EQ(kBlack, ClientPixel(hDlg, pt.x, pt.y)) << pt.x << "," << pt.y;
        }
        for (const POINT pt : {POINT{1, 1}, POINT{w - 2, h - 2}, POINT{w / 2, 1}, POINT{1, h / 2}, POINT{w - 2, h / 2}}) {
            EXPECT_EQ(kWhite, ClientPixel(hDlg, pt.x, pt.y)) << pt.x << "," << pt.y;
        }

        // Text strokes are thin: a control drawn on white is mostly white,
        // one drawn on black mostly black.
        const Pixels shot = ReadClient(hDlg);
        for (const int id : {IDC_RADIO_SHUTDOWN, IDC_RADIO_REBOOT, IDC_RADIO_ALARM, IDC_STATIC_CLOCK,
                             IDC_STATIC_SECONDS, IDC_STATIC_COUNTDOWN}) {
            EXPECT_GT(shot.Share(ChildRect(hDlg, id), kWhite), 0.6) << "control " << id;
        }
        // The pickers keep readable colours.
        for (const int id : {IDC_DATE, IDC_TIME}) {
            const RECT ri = ChildRect(hDlg, id);
            EXPECT_GT(shot.Share(ri, kWhite), 0.4) << "control " << id;
            EXPECT_LT(shot.Share(ri, kBlack), 0.2) << "control " << id;
        }
        int nLabels = 0;
        for (HWND hItem = ::GetWindow(hDlg, GW_CHILD); hItem; hItem = ::GetWindow(hItem, GW_HWNDNEXT)) {
            if (::GetDlgCtrlID(hItem) != IDC_STATIC)
                continue;
            ++nLabels;
            RECT ri = ChildRect(hItem);
            if (ClassName(hItem) == "Button") {
                // A group box's caption sits in its top left corner.
                ri.left += 8;
                ri.right = ri.left + 40;
                ri.bottom = ri.top + 10;
            }
            EXPECT_GT(shot.Share(ri, kWhite), 0.6) << "label #" << nLabels;
        }
        EXPECT_EQ(9, nLabels);
    });
}

TEST(Appearance, ControlColourBrushesAndContextColours)
{
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const HWND hDlg = dlg.m_hWnd;
        const HDC hdc = ::CreateCompatibleDC(nullptr);
        const COLORREF crSentinel = RGB(1, 2, 3);
        auto ask = [&](UINT nMsg, HWND hAsker) {
            ::SetTextColor(hdc, crSentinel);
            ::SetBkColor(hdc, crSentinel);
            return reinterpret_cast<HBRUSH>(
                ::SendMessageA(hDlg, nMsg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hAsker)));
        };
        const HBRUSH hWhite = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        const HBRUSH hBlack = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));

        std::vector<HWND> whiteAskers;
        for (const int id : {IDC_STATIC_SECONDS, IDC_RADIO_SHUTDOWN, IDC_RADIO_REBOOT, IDC_RADIO_ALARM,
                             IDC_STATIC_CLOCK, IDC_STATIC_COUNTDOWN, IDC_EDIT_COUNT, IDC_COMBO_UNIT})
            whiteAskers.push_back(::GetDlgItem(hDlg, id));
        for (HWND hItem = ::GetWindow(hDlg, GW_CHILD); hItem; hItem = ::GetWindow(hItem, GW_HWNDNEXT)) {
            if (::GetDlgCtrlID(hItem) == IDC_STATIC)
                whiteAskers.push_back(hItem);
        }
        for (const HWND hAsker : whiteAskers) {
            for (const UINT nMsg : {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORBTN, WM_CTLCOLORLISTBOX}) {
                SCOPED_TRACE(::GetDlgCtrlID(hAsker));
                EXPECT_EQ(hWhite, ask(nMsg, hAsker));
                EXPECT_EQ(kWhite, ::GetBkColor(hdc));
                // The text keeps the colour the default handling gave it.
                EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), ::GetTextColor(hdc));
            }
        }

        // The pickers get the default answer: the window colours.
        for (const HWND hAsker : {::GetDlgItem(hDlg, IDC_DATE), ::GetDlgItem(hDlg, IDC_TIME)}) {
            EXPECT_EQ(::GetSysColorBrush(COLOR_WINDOW), ask(WM_CTLCOLOREDIT, hAsker));
            EXPECT_EQ(::GetSysColor(COLOR_WINDOW), ::GetBkColor(hdc));
            EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), ::GetTextColor(hdc));
        }

        // Everyone else: black, and the context left as the default handling set it.
        const HWND hStranger = ::CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, hDlg,
                                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStrangerId)), nullptr, nullptr);
        EXPECT_EQ(hBlack, ask(WM_CTLCOLORSTATIC, hStranger));
        EXPECT_EQ(::GetSysColor(COLOR_3DFACE), ::GetBkColor(hdc));
        EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), ::GetTextColor(hdc));
        EXPECT_EQ(hBlack, ask(WM_CTLCOLORBTN, hStranger));
        ::DestroyWindow(hStranger);
        EXPECT_EQ(hBlack, ask(WM_CTLCOLORDLG, hDlg));

        // A brush per erase, each one deleted again.
        const DWORD nGdiBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
        for (int i = 0; i < 500; ++i)
            EXPECT_EQ(TRUE, ::SendMessageA(hDlg, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0));
        EXPECT_LE(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), nGdiBefore + 2);
        EXPECT_EQ(::GetStockObject(WHITE_BRUSH), ::GetCurrentObject(hdc, OBJ_BRUSH));
        ::DeleteDC(hdc);
    });
}

TEST(Appearance, MinimisedIconCentringAndDragIcon)
{
    // Signed, rounding toward zero: a 32-pixel icon in 33 pixels starts at 1,
    // in 32 at 0, and overhangs evenly in less.
    EXPECT_EQ(1, CentredOffset(33, 32));
    EXPECT_EQ(0, CentredOffset(32, 32));
    EXPECT_EQ(0, CentredOffset(31, 32));
    EXPECT_EQ(-15, CentredOffset(0, 32));
    EXPECT_EQ(8, CentredOffset(48, 32));

    CCountingDlg dlg;
    RunModal(dlg, [&] {
        EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HICON>(dlg.m_hAppIcon)), ::SendMessageA(dlg.m_hWnd, WM_QUERYDRAGICON, 0, 0));

        ShowAndPaint(dlg.m_hWnd);
        EXPECT_EQ(0, dlg.m_nIconErase);
        ::ShowWindow(dlg.m_hWnd, SW_MINIMIZE);
        ASSERT_TRUE(::IsIconic(dlg.m_hWnd));
        ::InvalidateRect(dlg.m_hWnd, nullptr, TRUE);
        ::SendMessageA(dlg.m_hWnd, WM_PAINT, 0, 0);
        EXPECT_EQ(1, dlg.m_nIconErase);
        ::ShowWindow(dlg.m_hWnd, SW_RESTORE);
    });
}

TEST(Contrast, EveryTextAndButtonReadsInTheSeatsScheme)
{
    const std::string scheme = SeatScheme();
    const ColourScheme colours = LoadColourScheme(scheme);
    ASSERT_EQ(scheme.empty(), colours.empty()) << scheme;
    for (const SchemeColour& colour : colours)
        ASSERT_EQ(colour.cr, ::GetSysColor(colour.nIndex)) << "the seat is not in " << scheme;
    CHighContrastApi highContrast;
    CScopedSystemApi scoped(scheme.empty() ? nullptr : &highContrast);
    // The standard look presses white; a high contrast one in the scheme's highlight.
    const COLORREF crPressed = scheme.empty() ? kWhite : ::GetSysColor(COLOR_HIGHLIGHT);

    CKovnaDlg dlg;
    RunAsMainWindow(dlg, [&] {
        const HWND hDlg = dlg.m_hWnd;
        TypeTheCount(hDlg);
        ShowAndPaint(hDlg);
        ExpectEveryTextReads(hDlg, "stopped");

        const HWND hHelp = ::GetDlgItem(hDlg, IDC_BTN_HELP);
        ::SendMessageW(hHelp, BM_SETSTATE, TRUE, 0);
        PumpFor(50);
        EXPECT_EQ(crPressed, FaceOf(hDlg, IDC_BTN_HELP));
        ExpectEveryTextReads(hDlg, "pressed");
        ::SendMessageW(hHelp, BM_SETSTATE, FALSE, 0);

        CAboutWatcher watcher(hDlg, [&](HWND hBox) {
            ShowAndPaint(hBox);
            ExpectEveryTextReads(hBox, "About");
            ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
        });
        ::SendMessageA(hDlg, WM_SYSCOMMAND, IDM_INFO_ENTRY, 0);
        EXPECT_EQ(1, watcher.m_nBoxes);

        Click(hDlg, IDC_BTN_SET_AFTER);
        EXPECT_TRUE(PumpUntil([&] { return !WindowText(::GetDlgItem(hDlg, IDC_STATIC_COUNTDOWN)).IsEmpty(); }, 5000));
        ShowAndPaint(hDlg);
        ExpectEveryTextReads(hDlg, "running");
    });
}

TEST(SchemeChange, AChangeWhileOpenRepaintsAllOfItAndTheStandardLookComesBackAsItWas)
{
    ASSERT_EQ("", SeatScheme());
    const ColourScheme dark = LoadColourScheme("hcblack");
    ASSERT_FALSE(dark.empty());
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const HWND hDlg = dlg.m_hWnd;
        // The focus stays in the unit list: a caret in the field would blink.
        ::SetDlgItemTextW(hDlg, IDC_EDIT_COUNT, L"10");
        ShowAndPaint(hDlg);
        // The clock fields go on ticking meanwhile.
        const std::vector<RECT> ticking{ChildRect(hDlg, IDC_STATIC_CLOCK), ChildRect(hDlg, IDC_STATIC_SECONDS)};
        const Pixels standard = ReadClient(hDlg);
        {
            const CScopedColourScheme scheme(dark);
            PumpFor(200);
            ExpectEveryTextReads(hDlg, "High Contrast Black");
            EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), FaceOf(hDlg, IDC_BTN_HELP));
        }
        PumpFor(200);
        EXPECT_EQ(0, ReadClient(hDlg).Differences(standard, ticking));

        // A high contrast scheme with a white window, turned on and off as
        // Windows announces it.
        {
            CHighContrastApi highContrast;
            const CScopedSystemApi scoped(&highContrast);
            ::SendMessageW(hDlg, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
            PumpFor(200);
            EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), FaceOf(hDlg, IDC_BTN_HELP));
        }
        ::SendMessageW(hDlg, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        PumpFor(200);
        EXPECT_EQ(0, ReadClient(hDlg).Differences(standard, ticking));
    });
}
