#include "reporter/diagnostics/stack/memory_probe.h"
#include <windows.h>

namespace {

constexpr DWORD kReadableProtection = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY |
                                      PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                                      PAGE_EXECUTE_WRITECOPY;

bool ReadableRegion(const MEMORY_BASIC_INFORMATION& info) {
    return info.State == MEM_COMMIT && (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) == 0 &&
           (info.Protect & kReadableProtection) != 0;
}

} // namespace

bool TMemoryProbe::RegionAt(uintptr_t address, TRegion& region) {
    for (const TRegion& known : regions_)
        if (known.Begin <= address && address < known.End) {
            region = known;
            return true;
        }
    MEMORY_BASIC_INFORMATION info{};
    if (!VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info))
        return false;
    const auto begin = reinterpret_cast<uintptr_t>(info.BaseAddress);
    region = {begin, uint64_t(begin) + info.RegionSize, ReadableRegion(info)};
    regions_[nextSlot_] = region;
    nextSlot_ = (nextSlot_ + 1) % regions_.size();
    return true;
}

bool TMemoryProbe::Readable(uintptr_t address, size_t size) {
    const uint64_t end = uint64_t(address) + size;
    if (end > UINTPTR_MAX)
        return false;
    for (uint64_t at = address; at < end;) {
        TRegion region;
        if (!RegionAt(uintptr_t(at), region) || !region.Readable)
            return false;
        at = region.End;
    }
    return true;
}

bool TMemoryProbe::Read(uintptr_t address, void* to, size_t size) {
    if (!Readable(address, size))
        return false;
    if (GuardedRead(reinterpret_cast<const void*>(address), to, size))
        return true;
    // What the system said of the regions no longer holds.
    regions_ = {};
    faulted_ = true;
    return false;
}

bool TMemoryProbe::TakeFault() {
    const bool faulted = faulted_;
    faulted_ = false;
    return faulted;
}
