// The real start, CKovnaApp::InitInstance, on a system whose comctl32 has not
// registered the date and time picker, as Windows leaves it until asked.
#include <gtest/gtest.h>

#include <string>

#include "app/KovnaApp.h"
#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/Recorder.h"
#include "res/resource.h"

namespace {

const wchar_t kPickerClass[] = L"SysDateTimePick32";

// Takes the picker's class away (Wine registers every class when comctl32
// loads); Register puts it back, and the destructor surely does.
class CPickerClassRemoved {
public:
    CPickerClassRemoved()
    {
        m_wc.cbSize = sizeof m_wc;
        m_bTaken = ::GetClassInfoExW(::GetModuleHandleA("comctl32.dll"), kPickerClass, &m_wc) &&
                   ::UnregisterClassW(kPickerClass, m_wc.hInstance);
        m_wc.lpszClassName = kPickerClass;
    }
    ~CPickerClassRemoved() { Register(); }
    CPickerClassRemoved(const CPickerClassRemoved&) = delete;
    CPickerClassRemoved& operator=(const CPickerClassRemoved&) = delete;

    bool Taken() const { return m_bTaken; }
    void Register()
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        if (m_bTaken && !::GetClassInfoExW(m_wc.hInstance, kPickerClass, &wc))
            ::RegisterClassExW(&m_wc);
    }

private:
    WNDCLASSEXW m_wc{};
    bool m_bTaken = false;
};

struct StartResult {
    BOOL bInitInstance = TRUE;
    bool bShown = false;
    std::string dateClass, timeClass;
};

// Starts the program as kovna.exe does, looks at the main dialog if it
// opens, and closes it.
StartResult Start()
{
    StartResult result;
    RunInModalLoop([&] { result.bInitInstance = CKovnaApp().InitInstance(); },
                   [&] {
                       const HWND hDlg = AfxGetMainWnd()->m_hWnd;
                       result.bShown = ::IsWindowVisible(hDlg);
                       result.dateClass = ClassName(::GetDlgItem(hDlg, IDC_DATE));
                       result.timeClass = ClassName(::GetDlgItem(hDlg, IDC_TIME));
                       ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
                   });
    return result;
}

} // namespace

TEST(Start, RegistersThePickerItsTemplateHoldsBeforeOpeningTheMainDialog)
{
    CPickerClassRemoved removed;
    ASSERT_TRUE(removed.Taken());
    CRecordingApi api;
    api.onInitCommonControlsEx = [&](DWORD dwICC) {
        if (dwICC & ICC_DATE_CLASSES)
            removed.Register();
        return TRUE;
    };
    CScopedSystemApi seam(&api);

    const StartResult result = Start();

    EXPECT_FALSE(result.bInitInstance);
    EXPECT_TRUE(result.bShown);
    EXPECT_EQ(result.dateClass, "SysDateTimePick32");
    EXPECT_EQ(result.timeClass, "SysDateTimePick32");
    const auto calls = api.CallsNamed("InitCommonControlsEx");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args, (std::vector<uintptr_t>{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_DATE_CLASSES}));
    EXPECT_EQ(api.Count("MessageBoxGbk"), 0u);
}

TEST(Start, SaysWhyWhenTheMainDialogCannotBeMade)
{
    CPickerClassRemoved removed;
    ASSERT_TRUE(removed.Taken());
    CRecordingApi api;
    api.onInitCommonControlsEx = [](DWORD) { return FALSE; };
    CScopedSystemApi seam(&api);

    const StartResult result = Start();

    EXPECT_FALSE(result.bInitInstance);
    EXPECT_FALSE(result.bShown);
    const auto boxes = api.CallsNamed("MessageBoxGbk");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].args, (std::vector<uintptr_t>{0, MB_ICONEXCLAMATION}));
    EXPECT_EQ(boxes[0].caption, "警告");
    EXPECT_NE(boxes[0].text.find("comctl32.dll"), std::string::npos);
}
