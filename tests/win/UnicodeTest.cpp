// Texts at the system boundary: the program's GBK texts cross as UTF-16,
// converted with code page 936 named, into Unicode windows. ctest runs these
// under the ANSI code pages 936, 1252, 950 and 932.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/KovnaDlg.h"
#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/Recorder.h"

// The reruns of the text tests would prove nothing under 936 again.
TEST(UnicodeWindows, AnyCodePage_RunUnderTheAnsiCodePageOfTheirLocale)
{
    const char* pszLocale = std::getenv("KOVNA_LC_ALL");
    const struct {
        const char* locale;
        UINT codePage;
    } locales[] = {{"en_US.UTF-8", 1252}, {"zh_TW.UTF-8", 950}, {"ja_JP.UTF-8", 932}};
    UINT nWant = 936;
    for (const auto& l : locales) {
        if (pszLocale && std::strcmp(pszLocale, l.locale) == 0)
            nWant = l.codePage;
    }
    EXPECT_EQ(nWant, ::GetACP());
}

TEST(UnicodeWindows, AnyCodePage_TextsConvertWithCodePage936)
{
    EXPECT_EQ(std::wstring(L"关于 Kovna"), std::wstring(CWideText("关于 Kovna")));
    EXPECT_EQ(CString("关于 Kovna"), AfxGbkFromWide(L"关于 Kovna"));
    // A counted text counts bytes: eight are four characters.
    EXPECT_EQ(4, CWideText("中文中文中文", 8).GetLength());
    // Null stays null, and a resource number passes on as the same number.
    EXPECT_EQ(nullptr, static_cast<LPCWSTR>(CWideText(nullptr)));
    EXPECT_EQ(MAKEINTRESOURCEW(129), static_cast<LPCWSTR>(CWideText(MAKEINTRESOURCEA(129))));
    EXPECT_TRUE(AfxGbkFromWide(nullptr).IsEmpty());
    // A character GBK lacks (Thai ko kai) becomes a question mark.
    EXPECT_EQ(CString("k?"), AfxGbkFromWide(L"k\x0E01"));
}

TEST(UnicodeWindows, AnyCodePage_TheDialogAndItsControlsTakeAndGiveUtf16)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        EXPECT_TRUE(::IsWindowUnicode(dlg.m_hWnd));
        for (HWND h = ::GetWindow(dlg.m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            EXPECT_TRUE(::IsWindowUnicode(h)) << ::GetDlgCtrlID(h);
        }
        // Texts the program sets at run time.
        EXPECT_EQ("设置", ControlText(dlg.m_hWnd, IDC_BTN_SET_AFTER));
        EXPECT_EQ("帮助", ControlText(dlg.m_hWnd, IDC_BTN_HELP));
        wchar_t unit[8] = {};
        ::SendDlgItemMessageW(dlg.m_hWnd, IDC_COMBO_UNIT, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(unit));
        EXPECT_EQ("月", GbkText(unit));

        // Six characters from the system are twelve bytes to the interval check.
        ::SetDlgItemTextW(dlg.m_hWnd, IDC_EDIT_COUNT, L"中文中文中文");
        EXPECT_EQ("中文中文中文", std::string(dlg.m_strCount));
        ASSERT_EQ(1u, api.Count("MessageBoxGbk"));
        EXPECT_EQ("数字太长了, 请调整一下.", api.CallsNamed("MessageBoxGbk")[0].text);
    });
}
