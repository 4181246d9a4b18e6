#include "reporter/core/processing/thread_stacks.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/diagnostics/stack/stack_scan.h"
#include "runtime/unhandled_exception.h"
#include <memory>

namespace {

// The runtime's threads are those with a thread object; the main thread counts with them.
bool IsRuntimeThread(const TVessarThreadRecord& record) {
    return record.ThreadObject || record.ThreadId == MainThreadID;
}

// The thread is held only while its registers are read: tracing allocates, and a held thread
// may own the heap's lock.
void AddLiveStack(TVessarStackList& list, const TVessarThreadRecord& record) {
    CONTEXT context{};
    {
        const TSuspendedThread held(record.Handle);
        if (!held.ReadContext(context) || !context.Eip)
            return;
    }
    TStackScanParams running{.RunningThread = true, .ThreadId = record.ThreadId};
    ScanStackWith(list, nullptr, reinterpret_cast<void*>(context.Esp), record.StackTop, running);
}

void AddCreationStack(TVessarStackList& list, const TVessarThreadRecord& record) {
    if (!record.CreationStack || !record.CreationStackSize)
        return;
    TStackScanParams creation{.ThreadId = record.CreatorThreadId};
    ScanStackWith(list, nullptr, record.CreationStack,
                  record.CreationStack + record.CreationStackSize - 1, creation);
}

bool Selected(const TVessarThreadRecord& record, uint8_t stackFlags) {
    return (stackFlags &
            (IsRuntimeThread(record) ? StackFlag::RuntimeThreads : StackFlag::OtherThreads));
}

} // namespace

void AddThreadStacks(TVessarStackList& list, const TVessarThreadsSnapshot& threads,
                     uint8_t stackFlags, DWORD exceptionThread) {
    for (const TVessarThreadRecord& record : threads.Records())
        if (record.ThreadId != exceptionThread && record.ThreadId != GetCurrentThreadId() &&
            Selected(record, stackFlags))
            AddLiveStack(list, record);
    for (const TVessarThreadRecord& record : threads.Records())
        if (record.ThreadId == exceptionThread || Selected(record, stackFlags))
            AddCreationStack(list, record);
}

void TSuspendedThreads::Suspend(const TVessarThreadsSnapshot& threads, uint16_t behaviourFlags,
                                DWORD exceptionThread) {
    for (const TVessarThreadRecord& record : threads.Records()) {
        if (record.ThreadId == exceptionThread || record.ThreadId == GetCurrentThreadId())
            continue;
        const bool wanted = IsRuntimeThread(record)
                                ? (behaviourFlags & BehaviourFlag::SuspendRuntimeThreads) &&
                                      !(record.ThreadId == MainThreadID &&
                                        (behaviourFlags & BehaviourFlag::SuspendNotMainThread))
                                : (behaviourFlags & BehaviourFlag::SuspendOtherThreads);
        if (!wanted)
            continue;
        auto held = std::make_unique<TSuspendedThread>(record.Handle);
        if (held->Suspended())
            suspended_.push_back(std::move(held));
    }
}

void TSuspendedThreads::ResumeAll() {
    suspended_.clear();
}
