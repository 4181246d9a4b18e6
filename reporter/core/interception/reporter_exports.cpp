// What a module's crash reporter offers the other modules of the process, under the names they
// look for: libraries that delegate call these on the program's instance. Objects travel as
// plain pointers: each module has a C++ runtime of its own.
#include "reporter/core/interception/exception_manager.h"
#include "reporter/core/interception/module_phase.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/interception/thread_tracking.h"
#include "runtime/os_exceptions.h"
#include "runtime/unhandled_exception.h"
#include <cstdint>

extern "C" {

__declspec(dllexport) uint8_t
    ExceptionManager(void* object, void* address, int mode, HMODULE module) {
    return ExceptionManager(static_cast<const Exception*>(object), address, mode, module);
}

// A raise seen by another module's hook: arguments[0] is the raise address.
__declspec(dllexport) void Vessarion_CallGeneralRaise(DWORD, DWORD, DWORD argumentCount,
                                                      void* frame, const ULONG_PTR* arguments) {
    if (argumentCount >= 1 && arguments)
        RecordRaise(TRaiseKind::Throw, reinterpret_cast<void*>(arguments[0]), frame, frame);
}

// In the main thread, while the program runs normally, the exception is only converted: its
// handlers (or the unhandled-exception filter) still decide; before the units are up and once
// they go down, and in other threads, it is handed over when the caller asks.
__declspec(dllexport) void* Vessarion_CallExceptObject(const EXCEPTION_RECORD* record,
                                                       const CONTEXT* context, uint8_t handOver) {
    Exception* object = ExceptObjProc(record, context);
    const bool mainThreadRunning =
        GetCurrentThreadId() == MainThreadID && !ModuleInitialising() && !ModuleFinalising();
    if (handOver && !mainThreadRunning)
        ExceptionManager(object, record->ExceptionAddress, 0, nullptr);
    return object;
}

__declspec(dllexport) uint8_t Vessarion_LastDelphiException() {
    return LastRaiseWasThrow();
}

__declspec(dllexport) void Vessarion_CallCreateThread(const TVessarThreadRecord* record) {
    TVessarThreadsList* threads = TrackedThreads();
    if (!threads)
        return;
    threads->DropEnded();
    TVessarThreadRecord copy = *record;
    copy.CreationStack = nullptr; // the creating module keeps its own copy
    copy.CreationStackSize = 0;
    DuplicateHandle(GetCurrentProcess(), record->Handle, GetCurrentProcess(), &copy.Handle, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
    threads->Add(copy);
}

__declspec(dllexport) void Vessarion_CallResumeThread(HANDLE thread,
                                                      const TVessarThreadRecord* record) {
    if (TVessarThreadsList* threads = TrackedThreads())
        threads->MarkResumed(thread, record ? record->StackPosition : nullptr);
}

__declspec(dllexport) void Vessarion_CallExitThread() {
    if (TVessarThreadsList* threads = TrackedThreads())
        threads->Remove(GetCurrentThreadId());
}

} // extern "C"
