#include "reporter/core/hand_over.h"
#include "reporter/core/exception_manager.h"
#include "reporter/core/reporter_module.h"
#include "reporter/core/thread_tracking.h"
#include "runtime/format.h"
#include "runtime/module_names.h"
#include <cstdio>

bool HandOverException(const Exception& object, void* address, int mode, HMODULE) {
    std::fputs(Format("Vessarion: handed over %s at %08X, mode %d, thread %lu, %s, to %s: %s\n",
                      object.ClassName().c_str(), unsigned(uintptr_t(address)), mode,
                      ThreadServed(), LastHandOverWasRaise() ? "thrown" : "system",
                      ModuleFileName(ReporterModuleHandle()).c_str(), object.Message().c_str())
                   .c_str(),
               stderr);
    std::fflush(stderr);
    return true; // nothing is shown yet: the standard handler still tells the user
}
