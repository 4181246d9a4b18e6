// A scan of the running thread's own stack finds the calls that led to it.
#include "reporter/diagnostics/stack/stack_list.h"
#include "reporter/diagnostics/stack/stack_scan.h"
#include <gtest/gtest.h>

namespace {

struct TChain {
    const uint8_t* IntoMiddle = nullptr; // where Inner returns to
    const uint8_t* IntoOuter = nullptr;  // where Middle returns to
    std::unique_ptr<TVessarStackList> Stack;
};

// Out of line, and with work after each call, so that every call returns through the stack.
[[gnu::noipa]] void Inner(TChain& chain) {
    chain.IntoMiddle = static_cast<const uint8_t*>(__builtin_return_address(0));
    chain.Stack =
        NewStackListWith(reinterpret_cast<void*>(&Inner), CurrentStackPointer(), StackTop(),
                         {.RunningThread = true, .ThreadId = GetCurrentThreadId()});
    asm volatile("");
}

[[gnu::noipa]] void Middle(TChain& chain) {
    chain.IntoOuter = static_cast<const uint8_t*>(__builtin_return_address(0));
    Inner(chain);
    asm volatile("");
}

[[gnu::noipa]] void Outer(TChain& chain) {
    Middle(chain);
    asm volatile("");
}

// The index of the first entry at `address` after `from`; the count when there is none.
size_t Find(const TVessarStackList& list, const uint8_t* address, size_t from) {
    for (size_t i = from; i < list.Count(); ++i)
        if (list[i].Addr == reinterpret_cast<uintptr_t>(address))
            return i;
    return list.Count();
}

TEST(LiveStack, TheCallChainIsFoundInOrder) {
    TChain chain;
    Outer(chain);
    const TVessarStackList& stack = *chain.Stack;
    const uint8_t* callInMiddle = chain.IntoMiddle - 5;
    const uint8_t* callInOuter = chain.IntoOuter - 5;
    ASSERT_EQ(*callInMiddle, 0xE8);
    ASSERT_EQ(*callInOuter, 0xE8);
    ASSERT_GE(stack.Count(), 3u);
    EXPECT_TRUE(stack[0].ErrorAddress);
    EXPECT_EQ(stack[0].Addr, reinterpret_cast<uintptr_t>(&Inner));
    const size_t middle = Find(stack, callInMiddle, 1);
    ASSERT_LT(middle, stack.Count());
    EXPECT_LT(Find(stack, callInOuter, middle + 1), stack.Count());
    for (size_t i = 0; i < stack.Count(); ++i) {
        EXPECT_EQ(stack[i].ThreadId, GetCurrentThreadId());
        EXPECT_TRUE(stack[i].RunningThread);
    }
}

} // namespace
