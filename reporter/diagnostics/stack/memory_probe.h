// Which memory of the process the stack scan may read. The system is asked once per region and
// the answer kept for one scan; a read that faults all the same is reported, never fatal.
#pragma once
#include "reporter/base/guarded_read.h"
#include <array>
#include <cstdint>

class TMemoryProbe {
  public:
    // Whether every byte of [address, address + size) is committed, readable and not a guard
    // page: touching a thread's guard page would stop its stack from growing.
    bool Readable(uintptr_t address, size_t size);
    // Copies the bytes when they are readable; false when not, or when the read faulted.
    bool Read(uintptr_t address, void* to, size_t size);
    template <class T> bool Read(uintptr_t address, T& value) {
        return Read(address, &value, sizeof value);
    }
    // Whether a read faulted since the last call.
    bool TakeFault();

  private:
    struct TRegion {
        uint64_t Begin = 0;
        uint64_t End = 0; // exclusive; empty regions are unused slots
        bool Readable = false;
    };
    // The region holding `address`; false when the system describes none.
    bool RegionAt(uintptr_t address, TRegion& region);

    TReadFaultGuard guard_;
    std::array<TRegion, 16> regions_{};
    size_t nextSlot_ = 0;
    bool faulted_ = false;
};
