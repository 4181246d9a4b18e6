#include "runtime/module_names.h"

HMODULE ModuleAt(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCSTR>(address), &module);
    return module;
}

HMODULE LoadedModule(const std::string& fileName) {
    return fileName.empty() ? nullptr : GetModuleHandleA(fileName.c_str());
}

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    return GetModuleFileNameA(module, path, MAX_PATH) ? path : "";
}

std::string ModuleFileName(HMODULE module) {
    const std::string path = ModulePath(module);
    return path.substr(path.find_last_of('\\') + 1);
}
