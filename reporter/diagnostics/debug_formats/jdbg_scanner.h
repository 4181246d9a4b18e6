// JDBG binary debug data: units, source files, procedures and lines by code offset.
//
// Layout, little-endian and packed: "JDBG", version byte 1, the offsets of the unit, source,
// symbol and line lists and of the name pool, the module's name, a checksum and a byte that
// says whether the checksum is present. Lists hold variable-length numbers, each value a delta
// from the one before (from 0), until the number 0x7FFFFFFF: units and sources (offset, name),
// symbols (offset, name, second name), lines (offset, line). A name is a 1-based position in
// the pool; 0 is no name.
#pragma once
#include "reporter/base/byte_view.h"
#include "reporter/diagnostics/debug_formats/debug_reader.h"
#include <vector>

class TKFBinDebugScanner : public TKFDebugReader {
  public:
    explicit TKFBinDebugScanner(std::vector<uint8_t> data);

    // False when the data is too short, not a whole number of 32-bit words, carries another
    // signature or version, fails its checksum or holds a damaged list.
    bool ValidFormat() const { return valid_; }

    std::string UnitAt(uint32_t offset) const override;
    uint32_t UnitStartAt(uint32_t offset) const override;
    TKFProcAt ProcAt(uint32_t offset) const override;
    TKFLineAt LineAt(uint32_t offset) const override;
    std::string SourceAt(uint32_t offset) const override;

  private:
    struct TEntry {
        uint32_t Offset;
        uint32_t First;  // name, or line
        uint32_t Second; // second name of a symbol
    };

    bool ReadAll();
    bool ChecksumFits() const;
    std::vector<TEntry> ReadList(size_t at, bool twoValues) const;
    std::string PoolName(uint32_t index) const;
    // The last entry at or below `offset` that lies in the offset's unit.
    const TEntry* InUnit(const std::vector<TEntry>& entries, uint32_t offset) const;

    std::vector<uint8_t> data_;
    bool valid_ = false;
    uint32_t poolAt_ = 0;
    std::vector<TEntry> units_;
    std::vector<TEntry> sources_;
    std::vector<TEntry> symbols_;
    std::vector<TEntry> lines_;
};
