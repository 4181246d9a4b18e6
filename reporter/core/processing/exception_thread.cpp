#include "reporter/core/processing/exception_thread.h"
#include "reporter/base/guarded_call.h"
#include "reporter/core/interception/thread_tracking.h"
#include <atomic>
#include <windows.h>

namespace {

constexpr DWORD kPollMilliseconds = 10;
constexpr int kMessagesPerRound = 11;
constexpr SIZE_T kProcessingStack = 1024 * 1024;

struct TExceptionThread {
    const std::function<bool()>* Work;
    bool Result = false;
    // The one published procedure: written by the processing thread, cleared by the faulting.
    std::atomic<const std::function<void()>*> Published{nullptr};
};

thread_local TExceptionThread* servedHere = nullptr; // in the processing thread
std::atomic<bool> stopped{false};

DWORD WINAPI ProcessingThread(void* parameter) {
    auto* self = static_cast<TExceptionThread*>(parameter);
    servedHere = self;
    try {
        self->Result = (*self->Work)();
    } catch (...) {
        self->Result = false;
    }
    return 0;
}

// A listener's failure, even a system exception, must not end the processing: the processing
// thread waits for the procedure to be done.
void RunPublished(TExceptionThread& thread) {
    if (const std::function<void()>* procedure = thread.Published.load()) {
        CallSwallowingAll(*procedure);
        thread.Published = nullptr;
    }
}

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

void PumpSome() {
    MSG message;
    for (int i = 0; i < kMessagesPerRound && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
         ++i) {
        if (IsInput(message.message)) {
            MessageBeep(0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

bool RunOnExceptionThread(const std::function<bool()>& work, const TFaultingThreadWait& wait) {
    TExceptionThread state;
    state.Work = &work;
    HANDLE thread = CreateReporterThread(ProcessingThread, &state, kProcessingStack);
    if (!thread)
        return work(); // no thread to be had: the work is done here
    SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
    for (;;) {
        const DWORD waited = WaitForSingleObject(thread, kPollMilliseconds);
        RunPublished(state);
        if (waited == WAIT_OBJECT_0)
            break;
        if (waited == WAIT_FAILED) {
            TerminateThread(thread, 1);
            state.Result = false;
            break;
        }
        if (wait.PumpMessages && wait.PumpMessages())
            PumpSome();
    }
    CloseHandle(thread);
    return state.Result;
}

void RunInFaultingThread(const std::function<void()>& procedure) {
    if (stopped)
        return;
    if (!servedHere) {
        CallSwallowingAll(procedure);
        return;
    }
    servedHere->Published = &procedure;
    while (servedHere->Published.load())
        Sleep(kPollMilliseconds);
}

void StopRunningInFaultingThread() {
    stopped = true;
}
