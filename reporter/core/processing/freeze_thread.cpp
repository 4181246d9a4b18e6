#include "reporter/core/processing/freeze_thread.h"
#include "reporter/core/interception/current_exception.h"
#include "reporter/core/interception/delegation.h"
#include "reporter/core/interception/hand_over.h"
#include "reporter/core/interception/thread_tracking.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/processing/internal_error.h"
#include "reporter/core/processing/main_window.h"
#include "reporter/core/processing/processing_lock.h"
#include "reporter/core/processing/suspended_thread.h"
#include "runtime/module_names.h"
#include "runtime/unhandled_exception.h"
#include <memory>
#include <mutex>
#include <optional>

namespace {

constexpr DWORD kPollMs = 50;
constexpr DWORD kAnsweredPauseMs = 6 * kPollMs;
constexpr DWORD kMainThreadAccess =
    THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_QUERY_INFORMATION;

// What the watching thread uses; it keeps a share of its own, so that it may outlive a stop
// that cannot wait for it.
struct TWatchState {
    HANDLE Stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE MainThread = OpenThread(kMainThreadAccess, FALSE, MainThreadID);

    TWatchState() = default;
    TWatchState(const TWatchState&) = delete;
    TWatchState& operator=(const TWatchState&) = delete;
    ~TWatchState() {
        if (MainThread)
            CloseHandle(MainThread);
        if (Stop)
            CloseHandle(Stop);
    }
};

struct TWatch {
    std::shared_ptr<TWatchState> State;
    HANDLE Thread;
    DWORD ThreadId;
};

// Options setters of any thread start and stop the watch.
std::mutex& WatchLock() {
    static std::mutex lock;
    return lock;
}

std::optional<TWatch>& Running() {
    static std::optional<TWatch> watch;
    return watch;
}

// The options the program published for the modules of the process.
bool ProgramForcesItsOptions() {
    TVessarModuleOptionsEx program(ModulePath(GetModuleHandleA(nullptr)));
    program.Reload();
    return (program.Stored().BehaviourFlags & BehaviourFlag::UseMainModuleOptions) != 0;
}

bool WatchAllowed() {
    return !HostIsDevelopmentEnvironment() && !(Delegating() && ProgramForcesItsOptions());
}

bool InLibrary() {
    return ReporterModuleHandle() != GetModuleHandleA(nullptr);
}

bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kPollMs, &result) != 0;
}

int64_t FreezeLimitMs() {
    return int64_t(CurrentVessarionOptions().Stored().FreezeSeconds) * 1000;
}

// The main thread is held only while its registers are read: making the report allocates, and
// a frozen thread may hold the heap; frozen, it stays where it was meanwhile. While an exception
// is being processed the window waits for that, and is no frozen application.
void ReportFrozenMainThread(HANDLE mainThread) {
    std::unique_lock<std::recursive_mutex> processing(ProcessingLock(), std::try_to_lock);
    if (!processing.owns_lock())
        return;
    CONTEXT context;
    void* stackBase = nullptr;
    {
        const TSuspendedThread main(mainThread);
        if (!main.ReadContext(context) || !context.Eip || !context.Esp)
            return;
        stackBase = main.StackBase();
    }
    const EFrozenApplication frozen(CurrentVessarionOptions().Text(kTextFrozenApplication));
    THandOver exception;
    exception.Object = &frozen;
    exception.Address = reinterpret_cast<void*>(context.Eip);
    exception.CallingModule = ReporterModuleHandle();
    exception.Mode = kPresentAutomatic;
    exception.Context = &context;
    exception.StackPosition = reinterpret_cast<void*>(context.Esp);
    exception.StackTop = stackBase;
    exception.ThreadId = MainThreadID;
    HandOverException(exception);
}

// One look at the main window; returns how long to wait before the next. `unanswered` counts
// the milliseconds the window has not answered for.
DWORD LookAtMainWindow(const TWatchState& state, int64_t& unanswered) {
    HWND window = FindMainWindow();
    if (!window)
        return kPollMs;
    if (Answers(window)) {
        unanswered = 0;
        return kAnsweredPauseMs;
    }
    unanswered += kPollMs; // the unanswered question took that long
    if (unanswered == FreezeLimitMs())
        ReportFrozenMainThread(state.MainThread);
    return 0;
}

void Watch(const TWatchState& state) {
    int64_t unanswered = 0;
    DWORD pause = 0;
    while (WaitForSingleObject(state.Stop, pause) == WAIT_TIMEOUT)
        pause = LookAtMainWindow(state, unanswered);
}

DWORD WINAPI RunWatch(void* parameter) {
    const std::unique_ptr<std::shared_ptr<TWatchState>> state(
        static_cast<std::shared_ptr<TWatchState>*>(parameter));
    try {
        Watch(**state);
    } catch (...) {
        ReportInternalErrorAtLastRaise("TFreezeThread", HandledException());
    }
    return 0;
}

} // namespace

void StartFreezeWatch() {
    std::lock_guard<std::mutex> hold(WatchLock());
    if (Running() || !WatchAllowed())
        return;
    auto state = std::make_shared<TWatchState>();
    auto* share = new std::shared_ptr<TWatchState>(state);
    HANDLE thread = CreateReporterThread(RunWatch, share, 0);
    if (!thread) {
        delete share;
        return;
    }
    Running() = TWatch{state, thread, GetThreadId(thread)};
}

// A stop from the watching thread itself (a listener of its report) cannot wait for it: the
// thread ends by itself once its report is done.
void StopFreezeWatch() {
    std::optional<TWatch> watch;
    {
        std::lock_guard<std::mutex> hold(WatchLock());
        watch.swap(Running());
    }
    if (!watch)
        return;
    SetEvent(watch->State->Stop);
    if (watch->ThreadId != GetCurrentThreadId()) {
        if (InLibrary())
            TerminateThread(watch->Thread, 0);
        else
            WaitForSingleObject(watch->Thread, INFINITE);
    }
    CloseHandle(watch->Thread);
}
