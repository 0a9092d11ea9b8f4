// The Help button's message box, as the system seam is asked for it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/DialogHarness.h"
#include "kit/Recorder.h"
#include "app/KovnaDlg.h"

TEST(HelpMessage, AnyCodePage_OwnedOkBoxWithTheThanksCaptionAndTwoLines)
{
    CRecordingApi api;
    CScopedSystemApi scoped(&api);
    CKovnaDlg dlg;
    HWND hMain = nullptr;
    RunModal(dlg, [&] {
        hMain = dlg.m_hWnd;
        ::SendMessageA(hMain, WM_COMMAND, MAKEWPARAM(IDC_BTN_HELP, BN_CLICKED), 0);
    });
    const std::vector<RecordedCall> calls = api.CallsNamed("MessageBoxGbk");
    ASSERT_EQ(1u, calls.size());
    const RecordedCall& call = calls[0];
    EXPECT_EQ(reinterpret_cast<uintptr_t>(hMain), call.args[0]);
    EXPECT_EQ(static_cast<uintptr_t>(MB_OK), call.args[1]);
    EXPECT_EQ("\xD0\xBB\xD0\xBB", call.caption);  // "谢谢" in code page 936

    // The bytes are code page 936 text that reads exactly as written here.
    wchar_t wide[256] = {};
    const int n = ::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, call.text.c_str(),
                                        static_cast<int>(call.text.size()), wide, 255);
    ASSERT_GT(n, 0);
    const std::wstring text(wide, static_cast<size_t>(n));
    const size_t nBreak = text.find(L'\n');
    ASSERT_NE(std::wstring::npos, nBreak);
    EXPECT_EQ(std::wstring::npos, text.find(L'\n', nBreak + 1));
    EXPECT_EQ(std::wstring::npos, text.find(L'\r'));
    const std::wstring first = text.substr(0, nBreak);
    const std::wstring second = text.substr(nBreak + 1);
    const std::wstring lead = L"您有任何意见或建议, 抑或不满, 请发邮件到";
    EXPECT_EQ(lead, first.substr(0, lead.size()));
    EXPECT_EQ(L"kovna@example.org.", first.substr(lead.size()));
    EXPECT_EQ(L"作者将尽快予以回复.感谢您的使用.谢谢!", second);
}
