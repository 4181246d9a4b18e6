#include "reporter/core/hooking/shared_area.h"
#include "reporter/core/hooking/hooking_errors.h"
#include <cstdint>
#include <windows.h>

namespace {

constexpr std::uintptr_t kSharedAreaStart = 0x80000000;

std::string FileNameOfModuleAt(const void* address) {
    HMODULE module = nullptr;
    char name[MAX_PATH] = "";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCSTR>(address), &module))
        GetModuleFileNameA(module, name, sizeof name);
    return name;
}

} // namespace

bool IsWindows9xFamily() {
    return (GetVersion() & 0x80000000) != 0;
}

void RefuseSharedArea(const void* address) {
    if (IsWindows9xFamily() && reinterpret_cast<std::uintptr_t>(address) >= kSharedAreaStart)
        throw ESharedArea(FileNameOfModuleAt(address));
}
