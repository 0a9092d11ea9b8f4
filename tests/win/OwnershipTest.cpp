// Who ends a handle: borrowed and owned device contexts, and the temporary
// window objects that last until the thread goes idle.
#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "kit/DialogHarness.h"
#include "platform/Afx.h"

namespace {

template <class T, class = void>
struct CanAdopt : std::false_type {};
template <class T>
struct CanAdopt<T, std::void_t<decltype(std::declval<T&>().Attach(HDC{}))>> : std::true_type {};

// Takes a temporary object inside one of its handlers and runs a nested loop
// there, as a handler showing a message box does.
class CHoldingWnd : public CWnd {
public:
    HWND m_hOther = nullptr;
    bool m_bNestedLoopRan = false;
    bool m_bKeptInHandler = false;

    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == WM_NULL)
            m_bNestedLoopRan = true;
        if (nMsg != WM_APP)
            return CWnd::WindowProc(nMsg, wParam, lParam);
        // A mark on the object tells a fresh one from it, even at the same address.
        FromHandle(m_hOther)->m_hWnd = nullptr;
        PostMessage(WM_NULL);
        PumpUntil([this] { return m_bNestedLoopRan; }, 2000);
        m_bKeptInHandler = FromHandle(m_hOther)->m_hWnd == nullptr;
        return 0;
    }
};

} // namespace

TEST(Ownership, OnlyTheMemoryContextIsDeleted)
{
    static_assert(!CanAdopt<CMemoryDC>::value, "an owner must not take in a context made elsewhere");

    const HDC hScreen = ::GetDC(nullptr);
    HDC hMade = nullptr;
    {
        CDCHandle screen(hScreen);
        CMemoryDC memDC;
        ASSERT_TRUE(memDC.CreateCompatibleDC(&screen));
        hMade = memDC;
    }
    EXPECT_EQ(0u, ::GetObjectType(hMade));
    EXPECT_EQ(static_cast<DWORD>(OBJ_DC), ::GetObjectType(hScreen));
    ::ReleaseDC(nullptr, hScreen);
}

TEST(Ownership, TemporaryWindowObjectsLastUntilTheThreadIsIdle)
{
    const HWND hOther = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hOther);
    CHoldingWnd holder;
    holder.m_hOther = hOther;
    ASSERT_TRUE(holder.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, 0));

    holder.SendMessage(WM_APP);
    EXPECT_TRUE(holder.m_bNestedLoopRan);
    EXPECT_TRUE(holder.m_bKeptInHandler);

    CWnd::FromHandle(hOther)->m_hWnd = nullptr;
    ::PostMessageA(hOther, WM_NULL, 0, 0);
    EXPECT_TRUE(PumpUntil([hOther] { return CWnd::FromHandle(hOther)->m_hWnd == hOther; }, 2000));

    holder.DestroyWindow();
    ::DestroyWindow(hOther);
}
