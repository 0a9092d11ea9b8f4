// The worker threads' wait and their count, which a reset of the workers waits on.
#include <gtest/gtest.h>

#include "kit/DialogHarness.h"
#include "platform/Afx.h"
#include "platform/Event.h"

TEST(Workers, AFailedWaitSleepsInsteadOfSpinningAndNoResetWhileOneLives)
{
    // A closed handle: the wait cannot wait, and the time passes anyway.
    const DWORD dwStart = ::GetTickCount();
    EXPECT_TRUE(AfxWorkerWait(300, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0xDEAD0))));
    EXPECT_GE(::GetTickCount() - dwStart, 250u);

    CEvent release;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxBeginThread([](LPVOID pRelease) -> UINT {
        static_cast<CEvent*>(pRelease)->Wait(10000);
        return 0;
    }, &release));
    EXPECT_FALSE(AfxResetWorkers());
    release.Set();
    EXPECT_TRUE(PumpUntil([] { return AfxLiveWorkerCount() == 0; }, 5000));
    EXPECT_TRUE(AfxResetWorkers());
}
