#include "reporter/core/raise_state.h"
#include "reporter/core/thread_stack.h"
#include <cstring>

namespace {

thread_local TRaiseState lastRaise;

} // namespace

void RecordRaise(void* address, void* stackPosition, void* frame) {
    lastRaise.Address = address;
    lastRaise.StackPosition = stackPosition;
    lastRaise.Frame = frame;
    const size_t size = LiveStackBytes(stackPosition, kRaiseStackCopyLimit);
    std::memcpy(lastRaise.Stack, stackPosition, size);
    lastRaise.StackSize = uint32_t(size);
}

const TRaiseState& LastRaise() {
    return lastRaise;
}
