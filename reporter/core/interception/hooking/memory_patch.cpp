#include "reporter/core/interception/hooking/memory_patch.h"
#include "reporter/core/interception/hooking/relative_jump.h"
#include <cstring>
#include <windows.h>

void WriteMem(void* address, const void* bytes, std::size_t count) {
    DWORD previousProtection = 0;
    const bool unprotected =
        VirtualProtect(address, count, PAGE_EXECUTE_READWRITE, &previousProtection);
    std::memcpy(address, bytes, count);
    if (unprotected)
        VirtualProtect(address, count, previousProtection, &previousProtection);
    FlushInstructionCache(GetCurrentProcess(), address, count);
}

void JumpToMem(void* address, const void* target) {
    const TRelativeJump jump = RelativeJump(address, target);
    WriteMem(address, jump.data(), jump.size());
}
