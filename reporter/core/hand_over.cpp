#include "reporter/core/hand_over.h"
#include "reporter/core/reporter_module.h"
#include "runtime/format.h"
#include "runtime/module_names.h"
#include <cstdio>

bool HandOverException(const Exception& object, void* address, int mode, HMODULE) {
    std::fputs(Format("Vessarion: handed over %s at %08X, mode %d, thread %lu, to %s: %s\n",
                      object.ClassName().c_str(), unsigned(uintptr_t(address)), mode,
                      GetCurrentThreadId(), ModuleFileName(ReporterModuleHandle()).c_str(),
                      object.Message().c_str())
                   .c_str(),
               stderr);
    std::fflush(stderr);
    return true; // nothing is shown yet: the standard handler still tells the user
}
