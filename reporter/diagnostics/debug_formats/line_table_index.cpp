#include "reporter/diagnostics/debug_formats/line_table_index.h"
#include "reporter/base/byte_stream.h"
#include "reporter/base/byte_view.h"
#include "reporter/diagnostics/debug_formats/line_table_names.h"
#include "reporter/diagnostics/debug_formats/line_table_records.h"
#include <algorithm>

namespace {

// Tables of these versions begin with a block that the lookup does not use.
constexpr int kFirstVersionWithLeadingBlock = 405;
constexpr int kLastVersionWithLeadingBlock = 499;
// Records between checkpoints: what a lookup decodes at most, against 16 bytes per checkpoint.
constexpr int kRecordsPerCheckpoint = 32;

} // namespace

TLineTableIndex::TLineTableIndex(const std::vector<uint8_t>& table, int version) {
    const TByteView view(table);
    try {
        size_t at = 0;
        if (version >= kFirstVersionWithLeadingBlock && version <= kLastVersionWithLeadingBlock)
            at += 4 + view.U32(0);
        const uint32_t count = view.U32(at);
        at += 4;
        for (uint32_t i = 0; i < count; ++i)
            IndexUnit(table, at, version);
    } catch (const EStreamReadError&) {
        damaged_ = true;
    }
    SortUnits();
    units_.shrink_to_fit();
    checkpoints_.shrink_to_fit();
    procedures_.shrink_to_fit();
}

// A unit whose records are damaged is dropped whole.
void TLineTableIndex::IndexUnit(const std::vector<uint8_t>& table, size_t& at, int version) {
    const TByteView view(table);
    TIndexedUnit unit;
    unit.NameAt = uint32_t(at);
    at = SkipLineTableName(view, at, version);
    const uint32_t firstLine = view.U32(at);
    unit.Start = view.U32(at + 4);
    unit.Size = view.U32(at + 8);
    const uint32_t length = view.U32(at + 12);
    at += 16;
    view.Part(at, length);
    unit.RecordsEnd = uint32_t(at + length);
    unit.FirstCheckpoint = uint32_t(checkpoints_.size());
    unit.FirstProcedure = uint32_t(procedures_.size());
    TLineCheckpoint state{unit.Start, firstLine, uint32_t(at)};
    try {
        for (int n = 0; state.RecordAt < unit.RecordsEnd; ++n) {
            if (n % kRecordsPerCheckpoint == 0)
                checkpoints_.push_back(state);
            size_t recordAt = state.RecordAt;
            const TLineRecord record = ReadLineRecord(view, recordAt, version);
            if (record.OpensProcedure) {
                state.Procedure = uint32_t(procedures_.size());
                procedures_.push_back({uint32_t(recordAt), state.Line, state.Offset});
                recordAt = SkipLineTableName(view, recordAt, version);
            }
            state.RecordAt = uint32_t(recordAt);
            state.Line += record.LineStep;
            state.Offset += record.AddressStep;
        }
        checkpoints_.push_back(state); // the line after the last record covers the rest
    } catch (const EStreamReadError&) {
        checkpoints_.resize(unit.FirstCheckpoint);
        procedures_.resize(unit.FirstProcedure);
        throw;
    }
    at = unit.RecordsEnd;
    unit.EndCheckpoint = uint32_t(checkpoints_.size());
    units_.push_back(unit);
}

void TLineTableIndex::SortUnits() {
    for (uint32_t i = 0; i < units_.size(); ++i)
        if (units_[i].Size > 0)
            byStart_.push_back(i);
    std::stable_sort(byStart_.begin(), byStart_.end(),
                     [&](uint32_t a, uint32_t b) { return units_[a].Start < units_[b].Start; });
    for (size_t i = 1; i < byStart_.size(); ++i) {
        const TIndexedUnit& before = units_[byStart_[i - 1]];
        if (uint64_t(before.Start) + before.Size > units_[byStart_[i]].Start)
            overlapping_ = true;
    }
}

const TIndexedUnit* TLineTableIndex::UnitAt(uint32_t offset) const {
    const TIndexedUnit* found = nullptr;
    if (overlapping_) {
        for (const TIndexedUnit& unit : units_)
            if (offset - unit.Start < unit.Size) {
                found = &unit;
                break;
            }
    } else {
        const auto after = std::upper_bound(
            byStart_.begin(), byStart_.end(), offset,
            [&](uint32_t value, uint32_t unit) { return value < units_[unit].Start; });
        if (after != byStart_.begin() &&
            offset - units_[*(after - 1)].Start < units_[*(after - 1)].Size)
            found = &units_[*(after - 1)];
    }
    if (!found && damaged_)
        throw EStreamReadError("The line table is damaged.");
    return found;
}

const TLineCheckpoint& TLineTableIndex::CheckpointAt(const TIndexedUnit& unit,
                                                     uint32_t offset) const {
    const auto first = checkpoints_.begin() + unit.FirstCheckpoint;
    const auto after =
        std::upper_bound(first + 1, checkpoints_.begin() + unit.EndCheckpoint, offset,
                         [](uint32_t value, const TLineCheckpoint& c) { return value < c.Offset; });
    return *(after - 1);
}

size_t TLineTableIndex::MemoryBytes() const {
    return sizeof *this + units_.capacity() * sizeof(TIndexedUnit) +
           byStart_.capacity() * sizeof(uint32_t) +
           checkpoints_.capacity() * sizeof(TLineCheckpoint) +
           procedures_.capacity() * sizeof(TIndexedProcedure);
}
