#include "reporter/core/interception/raise_state.h"
#include "reporter/base/thread_stack.h"
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

} // namespace

void RecordRaise(TRaiseKind kind, void* address, void* stackPosition, void* frame) {
    lastRaise.Address = address;
    ++lastRaise.Sequence;
    lastRaise.StackPosition = stackPosition;
    lastRaise.Frame = frame;
    lastRaise.StackSize = CopyLiveStack(stackPosition, lastRaise.Stack);
    lastRaiseWasThrow = kind == TRaiseKind::Throw;
}

const TRaiseState& LastRaise() {
    return lastRaise;
}

void ForgetRaiseStack() {
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
