// The stack copy of a C++ throw: the frames the unwinding takes away are copied when the handler
// is found, the rest of the stack only when the exception is handed over.
#include "reporter/base/thread_stack.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/interception/runtime_hooks.h"
#include "runtime/exception.h"
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

[[gnu::noinline]] void Thrower() {
    throw Exception("thrown");
}

// Catches and throws again: the copy then reaches the frame that catches the second time.
[[gnu::noinline]] void RethrowingCatcher() {
    try {
        Thrower();
    } catch (const Exception&) {
        throw;
    }
}

uintptr_t CopiedEnd() {
    const TRaiseState& raise = LastRaise();
    return reinterpret_cast<uintptr_t>(raise.StackPosition) + raise.StackSize;
}

class RaiseStack : public ::testing::Test {
  protected:
    void SetUp() override { HookRaise(); }
    void TearDown() override {
        UnhookRaise();
        ForgetRaiseStack();
    }
};

// This function's frame is the catching one, also when a frame between caught and threw again:
// the copy ends where it stood at the call, below its frame, far from the base.
TEST_F(RaiseStack, HandledThrowCopiesTheStackBelowTheCatchingFrame) {
    const auto frame = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    std::vector<uintptr_t> ends;
    for (void (*raise)() : {&Thrower, &RethrowingCatcher}) {
        try {
            raise();
        } catch (const Exception&) {
            EXPECT_GT(CopiedEnd(), reinterpret_cast<uintptr_t>(LastRaise().StackPosition));
            EXPECT_LE(CopiedEnd(), frame);
            ends.push_back(CopiedEnd());
        }
    }
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0], ends[1]);
}

// Handed over, the copy holds the live stack up to the base: above the catching frame nothing
// has changed since the throw.
TEST_F(RaiseStack, HandedOverThrowIsCompletedFromTheLiveStack) {
    const auto frame = static_cast<const uint8_t*>(__builtin_frame_address(0));
    try {
        Thrower();
    } catch (const Exception&) {
        CompleteRaiseStack();
        const TRaiseState& raise = LastRaise();
        const auto position = static_cast<const uint8_t*>(raise.StackPosition);
        ASSERT_EQ(CopiedEnd(), reinterpret_cast<uintptr_t>(StackBase()));
        const size_t above = static_cast<const uint8_t*>(StackBase()) - frame;
        EXPECT_EQ(std::memcmp(raise.Stack + (frame - position), frame, above), 0);
    }
}

} // namespace
