#include "reporter/core/reporter_module.h"

HMODULE ReporterModuleHandle() {
    static const char marker = 0;
    HMODULE handle = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       &marker, &handle);
    return handle;
}

std::string ReporterModuleFileName() {
    char name[MAX_PATH] = {};
    GetModuleFileNameA(ReporterModuleHandle(), name, MAX_PATH);
    return name;
}
