#include "reporter/core/hand_over.h"
#include "reporter/core/exception_manager.h"
#include "reporter/core/reporter_module.h"
#include "reporter/core/thread_tracking.h"
#include "runtime/format.h"
#include "runtime/module_names.h"
#include <cstdio>

bool HandOverException(const THandOver& exception) {
    const DWORD thread = exception.ThreadId ? exception.ThreadId : ThreadServed();
    std::fputs(Format("Vessarion: handed over %s at %08X, mode %d, thread %lu, %s, to %s: %s\n",
                      exception.Object->ClassName().c_str(), unsigned(uintptr_t(exception.Address)),
                      exception.Mode, thread, exception.RaisedByRuntime ? "thrown" : "system",
                      ModuleFileName(ReporterModuleHandle()).c_str(),
                      exception.Object->Message().c_str())
                   .c_str(),
               stderr);
    std::fflush(stderr);
    return true;
}
