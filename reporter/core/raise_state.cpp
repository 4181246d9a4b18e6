#include "reporter/core/raise_state.h"
#include <algorithm>
#include <cstring>

namespace {

thread_local TRaiseState lastRaise;

uintptr_t StackBase() {
    uintptr_t base;
    asm("movl %%fs:4, %0" : "=r"(base)); // NT_TIB.StackBase
    return base;
}

} // namespace

void RecordRaise(void* address, void* stackPosition, void* frame) {
    lastRaise.Address = address;
    lastRaise.StackPosition = stackPosition;
    lastRaise.Frame = frame;
    const uintptr_t from = reinterpret_cast<uintptr_t>(stackPosition);
    const uintptr_t base = StackBase();
    const size_t size = from < base ? std::min<size_t>(kRaiseStackCopyLimit, base - from) : 0;
    std::memcpy(lastRaise.Stack, stackPosition, size);
    lastRaise.StackSize = uint32_t(size);
}

const TRaiseState& LastRaise() {
    return lastRaise;
}
