// A copy of the code around an address, read through guarded reads: the bytes that cannot be
// read narrow the window instead of faulting.
#pragma once
#include "reporter/diagnostics/disassembly/disassembler.h"
#include "reporter/diagnostics/stack/memory_probe.h"
#include <cstdint>
#include <vector>

class TCodeWindow {
  public:
    // The readable bytes from `before` bytes below `address` to `after` bytes above it, as far
    // as they run without a gap up to and from the address.
    TCodeWindow(uintptr_t address, unsigned before, unsigned after, TMemoryProbe& memory);

    uintptr_t Begin() const { return begin_; }
    uintptr_t End() const { return end_; } // exclusive
    // The copy from `address` on; the decoders may look up to 15 bytes past the end, which read
    // as zeros there.
    const uint8_t* At(uintptr_t address) const { return bytes_.data() + (address - begin_); }
    size_t AvailableAt(uintptr_t address) const { return end_ - address; }

  private:
    uintptr_t begin_;
    uintptr_t end_;
    std::vector<uint8_t> bytes_;
};

// Decodes one instruction of this process at `address` with the table-driven disassembler;
// the bytes past the last readable one end it as a "DB" line.
TDisassembled Disassemble(const TDisAsm& disasm, const void* address);
