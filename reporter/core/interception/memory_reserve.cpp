#include "reporter/core/interception/memory_reserve.h"
#include <atomic>
#include <windows.h>

namespace {

constexpr SIZE_T kReserveBytes = 0x500000;
std::atomic<void*> reserve{nullptr};

} // namespace

void ReserveMemoryForReports() {
    void* block = VirtualAlloc(nullptr, kReserveBytes, MEM_RESERVE, PAGE_NOACCESS);
    if (void* previous = reserve.exchange(block))
        VirtualFree(previous, 0, MEM_RELEASE);
}

void ReleaseMemoryForReports() {
    if (void* block = reserve.exchange(nullptr))
        VirtualFree(block, 0, MEM_RELEASE);
}
