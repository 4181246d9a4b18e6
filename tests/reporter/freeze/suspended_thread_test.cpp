// Another thread held still: its registers and the base of its stack, as freeze detection reads
// them from the main thread, also where the system's cross-process reads fail.
#include "../support/unavailable_system_paths.h"
#include "reporter/base/thread_stack.h"
#include "reporter/core/processing/suspended_thread.h"
#include <atomic>
#include <gtest/gtest.h>
#include <optional>

namespace {

struct TBusyThread {
    std::atomic<void*> stackBase{nullptr};
    std::atomic<bool> stop{false};
};

DWORD WINAPI KeepBusy(void* parameter) {
    auto* busy = static_cast<TBusyThread*>(parameter);
    busy->stackBase = StackBase();
    while (!busy->stop)
        Sleep(1);
    return 0;
}

class SuspendedThread : public testing::TestWithParam<bool> {};

TEST_P(SuspendedThread, ReadsRegistersAndStackBaseOfAnotherThread) {
    std::optional<TUnavailableSystemPaths> unavailable;
    if (GetParam())
        unavailable.emplace();
    TBusyThread busy;
    HANDLE thread = CreateThread(nullptr, 0, KeepBusy, &busy, 0, nullptr);
    while (!busy.stackBase)
        Sleep(1);
    {
        const TSuspendedThread held(thread);
        ASSERT_TRUE(held.Suspended());
        CONTEXT context;
        ASSERT_TRUE(held.ReadContext(context));
        EXPECT_NE(context.Eip, 0u);
        EXPECT_EQ(held.StackBase(), busy.stackBase.load());
        EXPECT_LT(context.Esp, reinterpret_cast<uintptr_t>(busy.stackBase.load()));
        EXPECT_NE(held.StackBase(), StackBase()); // not the calling thread's
    }
    busy.stop = true;
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0); // resumed again
    CloseHandle(thread);
}

INSTANTIATE_TEST_SUITE_P(SystemPathsUnavailable, SuspendedThread, testing::Bool());

} // namespace
