// A module's own line table, decoded once into what a lookup needs to find its place fast:
// the units sorted by code offset, and in each unit a checkpoint every few records that holds
// the decoding state there. A lookup decodes from the nearest checkpoint on, never more than a
// few records; the records and names stay in the table.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct TIndexedProcedure {
    uint32_t NameAt = 0; // where its name lies in the table
    uint32_t Line = 0;   // the line it opened on
    uint32_t Offset = 0; // the code offset it opened at
};

// The decoding state before the record at RecordAt.
struct TLineCheckpoint {
    static constexpr uint32_t kNoProcedure = 0xFFFFFFFF;
    uint32_t Offset = 0;
    uint32_t Line = 0;
    uint32_t RecordAt = 0;
    uint32_t Procedure = kNoProcedure; // in force; an index into the procedures
};

struct TIndexedUnit {
    uint32_t NameAt = 0;
    uint32_t Start = 0; // code offset
    uint32_t Size = 0;
    uint32_t RecordsEnd = 0;
    uint32_t FirstCheckpoint = 0; // its checkpoints, [first, end)
    uint32_t EndCheckpoint = 0;
    uint32_t FirstProcedure = 0; // the index the first procedure it opens gets
};

class TLineTableIndex {
  public:
    // Decodes `table` of a table `version`. A damaged table is indexed up to the unit where the
    // damage starts.
    TLineTableIndex(const std::vector<uint8_t>& table, int version);

    // The first unit in table order that holds code offset `offset`; null when none does.
    // Raises EStreamReadError when none does and the table is damaged: the unit might have lain
    // behind the damage.
    const TIndexedUnit* UnitAt(uint32_t offset) const;
    // The last checkpoint of `unit` at or before `offset`.
    const TLineCheckpoint& CheckpointAt(const TIndexedUnit& unit, uint32_t offset) const;
    const TIndexedProcedure& Procedure(uint32_t index) const { return procedures_[index]; }

    // The bytes the index takes in memory.
    size_t MemoryBytes() const;

  private:
    void IndexUnit(const std::vector<uint8_t>& table, size_t& at, int version);
    void SortUnits();

    std::vector<TIndexedUnit> units_; // in table order
    std::vector<uint32_t> byStart_;   // the units that hold code, by start offset
    bool overlapping_ = false;        // some units share code: the table order decides
    bool damaged_ = false;
    std::vector<TLineCheckpoint> checkpoints_;
    std::vector<TIndexedProcedure> procedures_;
};
