// What the crash reporter keeps of a thread's last raise: where it was thrown, the stack and
// frame positions, and a copy of the live stack, so that a report made after the frames were
// unwound (a handled exception seen at the end of its handler) can still trace them.
#pragma once
#include <cstdint>
#include <vector>
#include <windows.h>

constexpr size_t kRaiseStackCopyLimit = 102400;

struct TRaiseState {
    void* Address = nullptr;       // the instruction after the throwing call
    void* StackPosition = nullptr; // the thrower's stack pointer
    void* Frame = nullptr;         // the thrower's frame pointer
    std::vector<uint8_t> Stack;    // from StackPosition up, at most kRaiseStackCopyLimit bytes
};

// Records a raise of the calling thread.
void RecordRaise(void* address, void* stackPosition, void* frame);
// The calling thread's last raise; empty Address when it raised nothing yet.
const TRaiseState& LastRaise();
