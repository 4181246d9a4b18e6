#include "reporter/core/interception/exception_manager.h"
#include "reporter/core/interception/current_exception.h"
#include "reporter/core/interception/delegation.h"
#include "reporter/core/interception/hand_over.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/interception/thread_tracking.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/core/processing/processing_lock.h"
#include "runtime/module_names.h"
#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

// The exception this thread handed over last, by class name, address and the raise it came
// from: the same place raising again is another exception.
struct LastReported {
    char className[128];
    void* address;
    uint32_t raise;
};
thread_local LastReported lastReported;

void Remember(const Exception& object, void* address) {
    const std::string name = object.ClassName();
    const size_t size = std::min(name.size(), sizeof lastReported.className - 1);
    std::memcpy(lastReported.className, name.data(), size);
    lastReported.className[size] = '\0';
    lastReported.address = address;
    lastReported.raise = LastRaise().Sequence;
}

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

bool HandOver(const Exception& object, void* address, int mode, HMODULE module, bool handled) {
    Remember(object, address);
    THandOver exception;
    exception.Object = &object;
    exception.Address = address;
    exception.RaisedByRuntime = RaisedByThrow(address);
    exception.Handled = handled;
    exception.CallingModule = module;
    exception.Mode = mode;
    return HandOverException(exception);
}

} // namespace

bool ReportedLastInThisThread(const Exception& object, void* address) {
    return address == lastReported.address && LastRaise().Sequence == lastReported.raise &&
           object.ClassName() == lastReported.className;
}

bool ExceptionManager(const Exception* object, void* address, int mode, HMODULE module,
                      bool handled) {
    // Checked before the lock: the thread a reporter thread works for may hold it.
    if (CallingThreadIsReporters())
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
    if (!TrackedThreads())
        return true;
    return HandOver(*object, address, mode, module, handled);
}
