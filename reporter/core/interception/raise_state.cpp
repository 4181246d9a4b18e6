#include "reporter/core/interception/raise_state.h"
#include "reporter/base/thread_stack.h"
#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

namespace {

thread_local TRaiseState lastRaise;
std::atomic<bool> lastRaiseWasThrow{false};

std::mutex& UnwoundStackLock() {
    static std::mutex lock;
    return lock;
}

TUnwoundStack& UnwoundStack() {
    static TUnwoundStack stack;
    return stack;
}

uint32_t CopyLiveStack(void* stackPosition, uint8_t (&into)[kRaiseStackCopyLimit]) {
    const size_t size = LiveStackBytes(stackPosition, kRaiseStackCopyLimit);
    std::memcpy(into, stackPosition, size);
    return uint32_t(size);
}

// Extends the last raise's copy with the live stack up to `end` (exclusive), within its limit.
void CopyLiveStackUpTo(uintptr_t end) {
    const auto position = reinterpret_cast<uintptr_t>(lastRaise.StackPosition);
    const uintptr_t copied = position + lastRaise.StackSize;
    const size_t wanted = end > copied ? end - copied : 0;
    const size_t size =
        LiveStackBytes(reinterpret_cast<void*>(copied),
                       std::min(wanted, kRaiseStackCopyLimit - lastRaise.StackSize));
    std::memcpy(lastRaise.Stack + lastRaise.StackSize, reinterpret_cast<void*>(copied), size);
    lastRaise.StackSize += uint32_t(size);
}

} // namespace

void RecordRaise(TRaiseKind kind, void* address, void* stackPosition, void* frame,
                 const void* thrown) {
    lastRaise.Address = address;
    ++lastRaise.Sequence;
    lastRaise.StackPosition = stackPosition;
    lastRaise.Frame = frame;
    lastRaise.Thrown = thrown;
    lastRaise.StackSize = thrown ? 0 : CopyLiveStack(stackPosition, lastRaise.Stack);
    lastRaiseWasThrow = kind == TRaiseKind::Throw;
}

void KeepRaiseStackBelow(const void* thrown, const void* position) {
    if (thrown && thrown == lastRaise.Thrown)
        CopyLiveStackUpTo(reinterpret_cast<uintptr_t>(position));
}

void CompleteRaiseStack() {
    if (!lastRaise.Thrown)
        return;
    CopyLiveStackUpTo(reinterpret_cast<uintptr_t>(StackBase()));
    lastRaise.Thrown = nullptr;
}

const TRaiseState& LastRaise() {
    return lastRaise;
}

void ForgetRaiseStack() {
    lastRaise.Thrown = nullptr;
    lastRaise.StackPosition = nullptr;
    lastRaise.Frame = nullptr;
    lastRaise.StackSize = 0;
}

bool LastRaiseWasThrow() {
    return lastRaiseWasThrow;
}

void NoteSystemException() {
    lastRaiseWasThrow = false;
}

void KeepUnwoundStack(void* address, void* stackPosition) {
    std::lock_guard<std::mutex> hold(UnwoundStackLock());
    TUnwoundStack& stack = UnwoundStack();
    stack.ThreadId = GetCurrentThreadId();
    stack.Address = address;
    stack.StackPosition = stackPosition;
    stack.StackSize = CopyLiveStack(stackPosition, stack.Stack);
}

void CopyUnwoundStack(TUnwoundStack& copy) {
    std::lock_guard<std::mutex> hold(UnwoundStackLock());
    const TUnwoundStack& stack = UnwoundStack();
    copy.ThreadId = stack.ThreadId;
    copy.Address = stack.Address;
    copy.StackPosition = stack.StackPosition;
    copy.StackSize = stack.StackSize;
    std::memcpy(copy.Stack, stack.Stack, stack.StackSize);
}
