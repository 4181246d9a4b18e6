#include "reporter/core/interception/unhandled_exception_hook.h"
#include "reporter/core/interception/exception_manager.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/options/reporter_module.h"
#include "runtime/unhandled_exception.h"

namespace {

TExceptProc replaced = nullptr;

[[noreturn]] void HandOverUnhandled(const Exception* object) {
    ExceptionManager(object, LastRaise().Address, 0, ReporterModuleHandle());
    EndAfterUnhandledException(1);
}

} // namespace

void HookUnhandledExceptionProcedure() {
    replaced = ExceptProc;
    ExceptProc = HandOverUnhandled;
}

void UnhookUnhandledExceptionProcedure() {
    if (replaced)
        ExceptProc = replaced;
    replaced = nullptr;
}
