#include "reporter/base/readable_memory.h"
#include <cstdint>
#include <windows.h>

bool IsReadableMemory(const void* address, std::size_t count) {
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY |
                                PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    auto at = static_cast<const std::uint8_t*>(address);
    const auto end = at + count;
    while (at < end) {
        MEMORY_BASIC_INFORMATION region;
        if (!VirtualQuery(at, &region, sizeof region) || region.State != MEM_COMMIT ||
            !(region.Protect & kReadable) || (region.Protect & PAGE_GUARD))
            return false;
        at = static_cast<const std::uint8_t*>(region.BaseAddress) + region.RegionSize;
    }
    return true;
}
