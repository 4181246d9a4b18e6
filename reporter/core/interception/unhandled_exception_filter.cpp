#include "reporter/core/interception/unhandled_exception_filter.h"
#include "reporter/base/guarded_call.h"
#include "reporter/core/interception/exception_manager.h"
#include "reporter/core/interception/os_exception_hook.h"
#include "reporter/core/interception/thread_tracking.h"
#include "runtime/module_names.h"
#include "runtime/os_exceptions.h"
#include <memory>
#include <string>
#include <windows.h>

namespace {

struct FilterState {
    LPTOP_LEVEL_EXCEPTION_FILTER previous = nullptr;
    HANDLE worker = nullptr;
    HANDLE request = nullptr; // set by the faulting thread
    HANDLE done = nullptr;    // set by the worker
    EXCEPTION_POINTERS* pointers = nullptr;
    DWORD faultingThread = 0;
    bool stopping = false;
    LONG busy = 0;      // one faulting thread at a time; the first ends the process
    DWORD exitCode = 0; // the code of the exception as converted: the process ends with it
    std::string lastMessage;
} state;

// On the worker's stack: the object, and the hand-over unless the same message was just
// processed.
void Process(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    StandInFor(state.faultingThread);
    std::unique_ptr<Exception> object(ExceptObjProc(record, pointers->ContextRecord));
    if (!object) // a replaced conversion that gave nothing still leaves the code to report
        object = std::make_unique<EExternalException>(
            ExternalExceptionMessage(record->ExceptionCode), *record);
    const auto* external = dynamic_cast<const EExternal*>(object.get());
    state.exitCode = external ? external->ExceptionRecord().ExceptionCode : record->ExceptionCode;
    if (object->Message() == state.lastMessage)
        return;
    state.lastMessage = object->Message();
    ExceptionManager(object.get(), record->ExceptionAddress, 0, ModuleAt(record->ExceptionAddress));
}

DWORD WINAPI Worker(void*) {
    for (;;) {
        WaitForSingleObject(state.request, INFINITE);
        if (state.stopping)
            return 0;
        // Whatever happened, even a system exception here, the faulting thread must be let go:
        // one that reached this filter from the worker would wait for the worker for good.
        CallSwallowingAll([] { Process(state.pointers); });
        StandInFor(0);
        SetEvent(state.done);
    }
}

// Runs in the faulting thread: nothing here may need more than a few hundred bytes of stack.
LONG WINAPI Filter(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    if (IsThreadNamingException(*record))
        return EXCEPTION_CONTINUE_SEARCH;
    while (InterlockedCompareExchange(&state.busy, 1, 0) != 0)
        Sleep(10);
    state.pointers = pointers;
    state.faultingThread = GetCurrentThreadId();
    state.exitCode = record->ExceptionCode;
    SignalObjectAndWait(state.request, state.done, INFINITE, FALSE);
    TerminateProcess(GetCurrentProcess(), state.exitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void InstallUnhandledExceptionFilter() {
    state.request = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    state.done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    state.stopping = false;
    state.worker = CreateReporterThread(Worker, nullptr, 256 * 1024);
    state.previous = SetUnhandledExceptionFilter(Filter);
}

void RemoveUnhandledExceptionFilter() {
    SetUnhandledExceptionFilter(state.previous);
    state.stopping = true;
    SetEvent(state.request);
    WaitForSingleObject(state.worker, INFINITE);
    for (HANDLE* h : {&state.worker, &state.request, &state.done}) {
        CloseHandle(*h);
        *h = nullptr;
    }
}
