#include "reporter/core/interception/thread_tracking.h"
#include "reporter/base/thread_stack.h"
#include "reporter/core/interception/delegation.h"
#include <memory>

namespace {

constexpr uint32_t kCreationStackLimit = 16 * 1024;

using CreateThreadProc = decltype(&CreateThread);
using ResumeThreadProc = decltype(&ResumeThread);
using ExitThreadProc = decltype(&ExitThread);

std::unique_ptr<TVessarThreadsList> threads;
CreateThreadProc originalCreateThread = nullptr;
ResumeThreadProc originalResumeThread = nullptr;
ExitThreadProc originalExitThread = nullptr;

thread_local bool creatingReporterThread = false;
thread_local bool reporterThread = false;
thread_local DWORD standingInFor = 0;

struct ThreadStart {
    LPTHREAD_START_ROUTINE routine;
    void* parameter;
};

DWORD WINAPI TrackedStart(void* start) {
    const ThreadStart saved = *static_cast<ThreadStart*>(start);
    delete static_cast<ThreadStart*>(start);
    if (threads)
        threads->SetStackPosition(GetCurrentThreadId(), StackPointer(), StackBase());
    return saved.routine(saved.parameter);
}

DWORD WINAPI ReporterStart(void* start) {
    const ThreadStart saved = *static_cast<ThreadStart*>(start);
    delete static_cast<ThreadStart*>(start);
    reporterThread = true;
    return saved.routine(saved.parameter);
}

HANDLE WINAPI CreateThreadHook(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                               LPTHREAD_START_ROUTINE routine, void* parameter, DWORD flags,
                               DWORD* threadId) {
    if (!threads || creatingReporterThread)
        return originalCreateThread(security, stackSize, routine, parameter, flags, threadId);
    threads->DropEnded();
    TVessarThreadRecord record;
    record.Routine = reinterpret_cast<void*>(routine);
    record.Parameter = parameter;
    record.CreationAddress = __builtin_return_address(0);
    CaptureCreationStack(record, StackPointer(), kCreationStackLimit);
    auto* start = new ThreadStart{routine, parameter};
    DWORD id = 0;
    HANDLE thread = originalCreateThread(security, stackSize, TrackedStart, start,
                                         flags | CREATE_SUSPENDED, &id);
    if (!thread) {
        delete start;
        delete[] record.CreationStack;
        return nullptr;
    }
    record.ThreadId = id;
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &record.Handle, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    threads->Add(record);
    if (auto forward =
            ProgramExport<void (*)(const TVessarThreadRecord*)>("Vessarion_CallCreateThread"))
        forward(&record);
    if (threadId)
        *threadId = id;
    if (!(flags & CREATE_SUSPENDED))
        ResumeThread(thread);
    return thread;
}

DWORD WINAPI ResumeThreadHook(HANDLE thread) {
    if (threads)
        threads->MarkResumed(thread, nullptr);
    if (auto forward = ProgramExport<void (*)(HANDLE, const TVessarThreadRecord*)>(
            "Vessarion_CallResumeThread"))
        forward(thread, nullptr);
    return originalResumeThread(thread);
}

void WINAPI ExitThreadHook(DWORD exitCode) {
    if (threads)
        threads->Remove(GetCurrentThreadId());
    if (auto forward = ProgramExport<void (*)()>("Vessarion_CallExitThread"))
        forward();
    originalExitThread(exitCode);
}

} // namespace

void StartThreadTracking() {
    threads = std::make_unique<TVessarThreadsList>();
    threads->AddMainThread();
    ReplaceKernelImport("CreateThread", &CreateThreadHook, originalCreateThread);
    ReplaceKernelImport("ResumeThread", &ResumeThreadHook, originalResumeThread);
    ReplaceKernelImport("ExitThread", &ExitThreadHook, originalExitThread);
}

void StopThreadTracking() {
    threads.reset();
}

TVessarThreadsList* TrackedThreads() {
    return threads.get();
}

HANDLE CreateReporterThread(LPTHREAD_START_ROUTINE routine, void* parameter, SIZE_T stackSize) {
    auto* start = new ThreadStart{routine, parameter};
    creatingReporterThread = true;
    HANDLE thread = CreateThread(nullptr, stackSize, ReporterStart, start, 0, nullptr);
    creatingReporterThread = false;
    if (!thread)
        delete start;
    return thread;
}

bool CallingThreadIsReporters() {
    return reporterThread && !standingInFor;
}

void StandInFor(DWORD threadId) {
    standingInFor = threadId;
}

DWORD ThreadServed() {
    return standingInFor ? standingInFor : GetCurrentThreadId();
}
