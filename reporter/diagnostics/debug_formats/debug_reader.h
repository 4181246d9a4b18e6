// The five questions every reader of other tools' debug data answers on a code offset (an
// address minus the module handle minus 0x1000, the start of the code section).
#pragma once
#include <cstdint>
#include <string>

// The procedure holding an offset, and how far into it the offset lies.
struct TKFProcAt {
    std::string Name; // empty when none is known
    uint32_t Offset = 0;
};

// The line holding an offset, and how far past the line's first byte the offset lies.
struct TKFLineAt {
    int32_t Line = 0; // 0 when none is known
    uint32_t Offset = 0;
};

class TKFDebugReader {
  public:
    static constexpr uint32_t kNoUnit = 0xFFFFFFFF;

    virtual ~TKFDebugReader() = default;
    // Empty when no unit holds the offset.
    virtual std::string UnitAt(uint32_t offset) const = 0;
    // Where that unit's code starts, or kNoUnit.
    virtual uint32_t UnitStartAt(uint32_t offset) const = 0;
    virtual TKFProcAt ProcAt(uint32_t offset) const = 0;
    virtual TKFLineAt LineAt(uint32_t offset) const = 0;
    // The source file holding the offset; empty when none is known.
    virtual std::string SourceAt(uint32_t offset) const = 0;
};
