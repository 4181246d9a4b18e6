#include "reporter/core/interception/hand_over.h"
#include "reporter/core/interception/memory_reserve.h"
#include "reporter/core/interception/module_phase.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/interception/thread_tracking.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/processing/exception_thread.h"
#include "reporter/core/processing/process_exception.h"
#include "reporter/core/processing/processing_lock.h"
#include "reporter/core/processing/processing_state.h"
#include "runtime/unhandled_exception.h"
#include <cstring>

namespace {

constexpr char kSafeCallPrefix[] = "[SafeCall Exception]: ";

thread_local bool processingHere = false;

// The out-of-memory reserve is given back while an exception is processed.
struct TReserveReleased {
    TReserveReleased() { ReleaseMemoryForReports(); }
    ~TReserveReleased() { ReserveMemoryForReports(); }
};

struct TProcessingHere {
    TProcessingHere() { processingHere = true; }
    ~TProcessingHere() { processingHere = false; }
};

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// Processed in the faulting thread itself: a leak report, a library's units going up or down,
// and a thread standing in for one whose stack has no room.
bool ProcessInPlace(const Exception& object) {
    return object.ClassName() == "EMemoryLeak" ||
           (ReporterModuleHandle() != GetModuleHandleA(nullptr) &&
            (ModuleInitialising() || ModuleFinalising())) ||
           ThreadServed() != GetCurrentThreadId();
}

// The main thread keeps its windows painted while a dialog is up, unless it is to be held.
bool KeepsWindowsAlive(const Exception& object) {
    const uint16_t flags = CurrentVessarionOptions().Stored().BehaviourFlags;
    const bool mainHeld = (flags & BehaviourFlag::SuspendRuntimeThreads) &&
                          !(flags & BehaviourFlag::SuspendNotMainThread);
    return GetCurrentThreadId() == MainThreadID && object.ClassName() != "EStackOverflow" &&
           !mainHeld;
}

} // namespace

bool HandOverException(const THandOver& exception) {
    if (!ReporterModuleHasData() || !exception.Object ||
        dynamic_cast<const EAbort*>(exception.Object))
        return true;
    TReserveReleased released;
    std::lock_guard<std::recursive_mutex> hold(ProcessingLock());
    if (processingHere)
        return false;
    TProcessingHere marked;
    const Exception& object = *exception.Object;
    if (!(CurrentVessarionOptions().Stored().BehaviourFlags &
          BehaviourFlag::SafeCallReportedAgain) &&
        StartsWith(object.Message(), kSafeCallPrefix))
        return false; // reported when it was raised
    if (!CurrentVessarionOptions().Enabled())
        return true;
    TProcessingInput input;
    input.Exception = exception;
    input.ThreadId = exception.ThreadId ? exception.ThreadId : ThreadServed();
    input.Focus = FocusWindowOf(input.ThreadId);
    if (exception.RaisedByRuntime && input.ThreadId == GetCurrentThreadId()) {
        CompleteRaiseStack();
        input.Raise = &LastRaise();
    }
    bool result;
    if (ProcessInPlace(object)) {
        result = ProcessException(input);
    } else {
        TFaultingThreadWait wait;
        if (KeepsWindowsAlive(object))
            wait.PumpMessages = [] { return ProcessingState().DialogShown.load(); };
        result = RunOnExceptionThread([&] { return ProcessException(input); }, wait);
    }
    ForgetRaiseStack();
    return result;
}
