#include "reporter/core/options/reporter_module.h"
#include "runtime/module_names.h"

HMODULE ReporterModuleHandle() {
    static const char marker = 0;
    return ModuleAt(&marker);
}

std::string ReporterModuleFileName() {
    return ModulePath(ReporterModuleHandle());
}
