#include "reporter/core/interception/hooking/shared_area.h"
#include "reporter/core/interception/hooking/hooking_errors.h"
#include "runtime/module_names.h"
#include <cstdint>
#include <windows.h>

namespace {

constexpr std::uintptr_t kSharedAreaStart = 0x80000000;

std::string FileNameOfModuleAt(const void* address) {
    HMODULE module = ModuleAt(address);
    return module ? ModulePath(module) : "";
}

} // namespace

bool IsWindows9xFamily() {
    return (GetVersion() & 0x80000000) != 0;
}

void RefuseSharedArea(const void* address) {
    if (IsWindows9xFamily() && reinterpret_cast<std::uintptr_t>(address) >= kSharedAreaStart)
        throw ESharedArea(FileNameOfModuleAt(address));
}
