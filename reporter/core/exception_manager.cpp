#include "reporter/core/exception_manager.h"
#include "reporter/core/current_exception.h"
#include "reporter/core/delegation.h"
#include "reporter/core/hand_over.h"
#include "reporter/core/memory_reserve.h"
#include "reporter/core/raise_state.h"
#include "reporter/core/reporter_module.h"
#include "reporter/core/thread_tracking.h"
#include "runtime/module_names.h"
#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

namespace {

// One exception is processed at a time in the whole process.
std::recursive_mutex& ProcessingLock() {
    static std::recursive_mutex lock;
    return lock;
}

// Processing is serialised, so one thread id says which thread is processing.
std::atomic<DWORD> processingThread{0};

// The exception this thread handed over last, by class name and address.
struct LastReported {
    char className[128];
    void* address;
};
thread_local LastReported lastReported;

void Remember(const Exception& object, void* address) {
    const std::string name = object.ClassName();
    const size_t size = std::min(name.size(), sizeof lastReported.className - 1);
    std::memcpy(lastReported.className, name.data(), size);
    lastReported.className[size] = '\0';
    lastReported.address = address;
}

// Whether the last exception handed over came from a C++ throw rather than from the system.
std::atomic<bool> lastWasRaise{false};

using ProgramExceptionManager = uint8_t (*)(void*, void*, int, HMODULE);

bool Usable(const Exception* object) {
    return object && !dynamic_cast<const EAbort*>(object);
}

// What the crash reporter of the module the address lies in says of its last raise: a module
// without one raised nothing of the runtime's.
bool RaisedByThrow(void* address) {
    HMODULE module = ModuleAt(address);
    auto answer = module ? reinterpret_cast<uint8_t (*)()>(reinterpret_cast<void*>(
                               GetProcAddress(module, "Vessarion_LastDelphiException")))
                         : nullptr;
    return answer && answer();
}

bool HandOver(const Exception& object, void* address, int mode, HMODULE module) {
    processingThread = GetCurrentThreadId();
    lastWasRaise = RaisedByThrow(address);
    ReleaseMemoryForReports();
    bool standardHandler = true;
    try {
        Remember(object, address);
        THandOver exception;
        exception.Object = &object;
        exception.Address = address;
        exception.RaisedByRuntime = lastWasRaise;
        exception.CallingModule = module;
        exception.Mode = mode;
        standardHandler = HandOverException(exception);
    } catch (...) {
        // a failure of the crash reporter must not replace the application's exception
    }
    ReserveMemoryForReports();
    processingThread = 0;
    return standardHandler;
}

} // namespace

bool LastHandOverWasRaise() {
    return lastWasRaise;
}

bool ReportedLastInThisThread(const Exception& object, void* address) {
    return address == lastReported.address && object.ClassName() == lastReported.className;
}

bool ExceptionManager(const Exception* object, void* address, int mode, HMODULE module) {
    if (processingThread.load() == GetCurrentThreadId())
        return true;
    std::lock_guard<std::recursive_mutex> hold(ProcessingLock());
    if (!Usable(object)) {
        // The module that saw the exception knows its objects: it falls back before forwarding.
        const Exception* handled = HandledException();
        if (!Usable(handled))
            return true;
        if (!object)
            address = LastRaise().Address;
        object = handled;
    }
    if (auto forward = ProgramExport<ProgramExceptionManager>("ExceptionManager"))
        return forward(const_cast<Exception*>(object), address, mode, ReporterModuleHandle()) != 0;
    if (!TrackedThreads() || CallingThreadIsReporters())
        return true;
    return HandOver(*object, address, mode, module);
}
