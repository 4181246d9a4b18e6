// What the crash reporter keeps of a thread's last raise: where it was thrown, the stack and
// frame positions, and a copy of the live stack, so that a report made after the frames were
// unwound (a handled exception seen at the end of its handler) can still trace them.
#pragma once
#include <cstdint>
#include <windows.h>

constexpr size_t kRaiseStackCopyLimit = 102400;

// Plain data, so that a thread reaches its own without any construction on the raise path.
struct TRaiseState {
    void* Address;       // the instruction after the throwing call; null before the first raise
    void* StackPosition; // the thrower's stack pointer
    void* Frame;         // the thrower's frame pointer
    uint32_t StackSize;  // bytes of Stack in use: from StackPosition up to the stack's base
    uint8_t Stack[kRaiseStackCopyLimit];
};

// Records a raise of the calling thread.
void RecordRaise(void* address, void* stackPosition, void* frame);
// The calling thread's last raise; empty Address when it raised nothing yet.
const TRaiseState& LastRaise();
