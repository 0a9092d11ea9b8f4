// The interval field judged while the user types: real key presses, made
// through the X server as a keyboard would, reach the real edit control.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/Recorder.h"
#include "kit/XInput.h"
#include "app/KovnaDlg.h"

namespace {

const std::string kTooLong = "数字太长了, 请调整一下.";
const std::string kIllegal = "输入非法字符，请重新输入";
// The system message box's text control.
constexpr int kMessageBoxTextId = 0xFFFF;

// As UTF-16: CF_TEXT would be read in the ANSI code page the test runs under.
void PutOnClipboard(HWND hOwner, const char* pszText)
{
    ASSERT_TRUE(::OpenClipboard(hOwner));
    ::EmptyClipboard();
    const std::wstring text = WideFromGbk(pszText);
    const size_t cb = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, cb);
    std::memcpy(::GlobalLock(hMem), text.c_str(), cb);
    ::GlobalUnlock(hMem);
    ::SetClipboardData(CF_UNICODETEXT, hMem);
    ::CloseClipboard();
}

// Keys go to the X window under the pointer (no window manager runs): the
// pointer rests on the dialog and the caret sits in the interval field.
void FocusField(HWND hDlg)
{
    RestPointerOn(hDlg);
    ::SetFocus(::GetDlgItem(hDlg, IDC_EDIT_COUNT));
    PumpFor(100);
}

std::string FieldText(HWND hDlg) { return ControlText(hDlg, IDC_EDIT_COUNT); }

struct Warning {
    std::string text;
    std::string caption;
    UINT nType;
    HWND hOwner;
    std::string field;  // the field's text while the warning is up
};

class IntervalTyping : public ::testing::Test {
protected:
    void SetUp() override
    {
        KOVNA_REQUIRE_XDOTOOL();
        m_api.onMessageBox = [this](const RecordedCall& call) {
            const HWND hOwner = reinterpret_cast<HWND>(call.args[0]);
            m_warnings.push_back({call.text, call.caption, static_cast<UINT>(call.args[1]), hOwner, FieldText(hOwner)});
        };
    }

    // Keys through xdotool, then waits for the field's text (and the number
    // of warnings) to settle where the test expects them.
    void Keys(const std::string& args, const std::string& wantField, size_t nWantWarnings)
    {
        XdoTool(args);
        const bool bReached = PumpUntil(
            [&] { return FieldText(m_dlg.m_hWnd) == wantField && m_warnings.size() == nWantWarnings; }, 5000);
        PumpFor(250);  // a second warning would come now
        EXPECT_TRUE(bReached) << args;
        EXPECT_EQ(wantField, FieldText(m_dlg.m_hWnd)) << args;
        EXPECT_EQ(nWantWarnings, m_warnings.size()) << args;
    }

    void ExpectWarning(size_t nIndex, const std::string& text, const std::string& field)
    {
        ASSERT_LT(nIndex, m_warnings.size());
        const Warning& w = m_warnings[nIndex];
        EXPECT_EQ(text, w.text);
        EXPECT_EQ("警告", w.caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), w.nType);
        EXPECT_EQ(m_dlg.m_hWnd, w.hOwner);
        EXPECT_EQ(field, w.field);
    }

    CRecordingApi m_api;
    CScopedSystemApi m_scoped{&m_api};
    std::vector<Warning> m_warnings;
    CKovnaDlg m_dlg;
};

} // namespace

TEST_F(IntervalTyping, AnyCodePage_ALetterEmptiesTheWholeFieldOnceAndEmptyingByHandIsQuiet)
{
    RunModal(m_dlg, [&] {
        FocusField(m_dlg.m_hWnd);
        Keys("type --delay 40 12", "12", 0);
        EXPECT_EQ("12", std::string(m_dlg.m_strCount));

        // The nested change from emptying the field brings no second warning.
        Keys("type a", "", 1);
        ExpectWarning(0, kIllegal, "12a");
        EXPECT_TRUE(m_dlg.m_strCount.IsEmpty());

        Keys("type --delay 40 3.5", "3.5", 1);
        Keys("key --delay 40 BackSpace BackSpace BackSpace", "", 1);
        EXPECT_TRUE(m_dlg.m_strCount.IsEmpty());
    });
}

TEST_F(IntervalTyping, AnyCodePage_MoreThanTenDigitsWarnAtEachChangeAndStay)
{
    RunModal(m_dlg, [&] {
        FocusField(m_dlg.m_hWnd);
        Keys("type --delay 30 1234567890", "1234567890", 0);

        Keys("type 1", "12345678901", 1);
        ExpectWarning(0, kTooLong, "12345678901");
        EXPECT_EQ("12345678901", std::string(m_dlg.m_strCount));

        Keys("type 2", "123456789012", 2);
        ExpectWarning(1, kTooLong, "123456789012");

        // Eleven digits are still too long; ten pass without a word.
        Keys("key BackSpace", "12345678901", 3);
        Keys("key BackSpace", "1234567890", 3);
        EXPECT_EQ("1234567890", std::string(m_dlg.m_strCount));
    });
}

TEST_F(IntervalTyping, AnyCodePage_PastedChineseIsIllegalUntilItIsTooLong)
{
    RunModal(m_dlg, [&] {
        FocusField(m_dlg.m_hWnd);
        // Typed Chinese reaches no Wine window here (no input method on the
        // display), so the text comes from the clipboard with Ctrl+V keys.
        PutOnClipboard(m_dlg.m_hWnd, "中");
        Keys("key ctrl+v", "", 1);
        ExpectWarning(0, kIllegal, "中");

        // Six characters are twelve bytes: only the length is reported.
        PutOnClipboard(m_dlg.m_hWnd, "中文中文中文");
        Keys("key ctrl+v", "中文中文中文", 2);
        ExpectWarning(1, kTooLong, "中文中文中文");
        EXPECT_EQ("中文中文中文", std::string(m_dlg.m_strCount));

        // Shortened to ten bytes with the characters still in: illegal.
        Keys("key BackSpace", "", 3);
        ExpectWarning(2, kIllegal, "中文中文中");
    });
}

// The real system message box, found on screen and closed with the Enter key.
TEST(IntervalCheck, AnyCodePage_RealWarningBoxIsOwnedByTheDialogAndTheClockRunsBehindIt)
{
    KOVNA_REQUIRE_XDOTOOL();
    CKovnaDlg dlg;
    std::atomic<HWND> hBox{nullptr};
    std::string boxText, fieldDuring, secondsBefore, secondsAfter;
    HWND hBoxOwner = nullptr;
    HWND hDlg = nullptr;
    std::atomic<bool> bBoxGone{false};
    std::atomic<bool> bClosedByPost{false};

    RunModal(dlg, [&] {
        hDlg = dlg.m_hWnd;
        FocusField(dlg.m_hWnd);
        std::thread watcher([&] {
            HWND hFound = nullptr;
            PumpUntil([&] { return (hFound = ::FindWindowW(L"#32770", L"警告")) != nullptr; }, 8000);
            if (!hFound)
                return;
            hBox = hFound;
            hBoxOwner = ::GetWindow(hFound, GW_OWNER);
            boxText = WindowText(::GetDlgItem(hFound, kMessageBoxTextId)).GetString();
            fieldDuring = FieldText(dlg.m_hWnd);
            secondsBefore = ControlText(dlg.m_hWnd, IDC_STATIC_SECONDS);
            PumpUntil([&] { return ControlText(dlg.m_hWnd, IDC_STATIC_SECONDS) != secondsBefore; }, 3000);
            secondsAfter = ControlText(dlg.m_hWnd, IDC_STATIC_SECONDS);
            XdoTool("key Return");
            if (!PumpUntil([&] { return !::IsWindow(hFound); }, 3000)) {
                bClosedByPost = true;
                ::PostMessageA(hFound, WM_COMMAND, IDOK, 0);
            }
            bBoxGone = true;
        });
        XdoTool("type x");
        PumpUntil([&] { return bBoxGone.load() && FieldText(dlg.m_hWnd).empty(); }, 12000);
        watcher.join();
        EXPECT_TRUE(FieldText(dlg.m_hWnd).empty());
    });

    ASSERT_NE(nullptr, hBox.load()) << "no warning box on screen";
    EXPECT_EQ(hDlg, hBoxOwner);
    EXPECT_EQ("输入非法字符，请重新输入", boxText);
    EXPECT_EQ("x", fieldDuring);
    EXPECT_FALSE(secondsBefore.empty());
    EXPECT_NE(secondsBefore, secondsAfter);
    EXPECT_FALSE(bClosedByPost.load()) << "the Enter key did not close the box";
}
