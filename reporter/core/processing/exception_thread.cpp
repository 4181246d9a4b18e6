#include "reporter/core/processing/exception_thread.h"
#include "reporter/base/guarded_call.h"
#include "reporter/core/interception/thread_tracking.h"
#include <atomic>
#include <windows.h>

namespace {

constexpr DWORD kPollMilliseconds = 10;
constexpr int kMessagesPerRound = 11;
constexpr SIZE_T kProcessingStack = 1024 * 1024;

// An auto-reset event, closed when it goes; null when the system has none to give.
class TSignal {
  public:
    TSignal() : event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
    ~TSignal() {
        if (event_)
            CloseHandle(event_);
    }
    TSignal(const TSignal&) = delete;
    TSignal& operator=(const TSignal&) = delete;
    HANDLE Get() const { return event_; }

  private:
    HANDLE event_;
};

struct TExceptionThread {
    const std::function<bool()>* Work;
    bool Result = false;
    // The one published procedure: written by the processing thread, cleared by the faulting.
    std::atomic<const std::function<void()>*> Published{nullptr};
    // Each side wakes the other at once rather than at its next poll: a report makes several
    // such round trips.
    TSignal PublishedSignal;
    TSignal DoneSignal;
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
        SetEvent(thread.DoneSignal.Get());
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
    if (!state.PublishedSignal.Get() || !state.DoneSignal.Get())
        return work(); // no events to be had: the work is done here
    HANDLE thread = CreateReporterThread(ProcessingThread, &state, kProcessingStack);
    if (!thread)
        return work(); // no thread to be had: the work is done here
    SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
    const HANDLE wakers[] = {thread, state.PublishedSignal.Get()};
    for (;;) {
        const DWORD waited = WaitForMultipleObjects(2, wakers, FALSE, kPollMilliseconds);
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
    SetEvent(servedHere->PublishedSignal.Get());
    while (servedHere->Published.load())
        WaitForSingleObject(servedHere->DoneSignal.Get(), kPollMilliseconds);
}

void StopRunningInFaultingThread() {
    stopped = true;
}
