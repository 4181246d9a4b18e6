#include "reporter/diagnostics/debug_formats/jdbg_scanner.h"
#include "reporter/diagnostics/debug_formats/jdbg_format.h"
#include <algorithm>
#include <bit>

namespace {

constexpr std::string_view kSignature = "JDBG";
constexpr uint8_t kVersion = 1;
constexpr size_t kMinSize = 35;
constexpr uint32_t kListEnd = 0x7FFFFFFF;

// Header positions (packed).
constexpr size_t kVersionAt = 4;
constexpr size_t kUnitsAt = 5;
constexpr size_t kSourcesAt = 9;
constexpr size_t kSymbolsAt = 13;
constexpr size_t kLinesAt = 17;
constexpr size_t kPoolAt = 21;
constexpr size_t kChecksumAt = 29;
constexpr size_t kChecksumPresentAt = 33;

// The last entry in list order at or below `offset`; lists are searched from their end.
template <class Entry>
const Entry* LastAtOrBelow(const std::vector<Entry>& entries, uint32_t offset) {
    auto found = std::find_if(entries.rbegin(), entries.rend(),
                              [offset](const Entry& e) { return e.Offset <= offset; });
    return found == entries.rend() ? nullptr : &*found;
}

} // namespace

TKFBinDebugScanner::TKFBinDebugScanner(std::vector<uint8_t> data) : data_(std::move(data)) {
    try {
        valid_ = ReadAll();
    } catch (const EStreamReadError&) {
        valid_ = false;
    }
}

bool TKFBinDebugScanner::ReadAll() {
    const TByteView data(data_);
    if (data.Size() < kMinSize || data.Size() % 4 != 0 || data.Text(0, 4) != kSignature ||
        data.U8(kVersionAt) != kVersion)
        return false;
    if (data.U8(kChecksumPresentAt) && !ChecksumFits())
        return false;
    // Kept only when every list reads: lookups on bad data find nothing.
    std::vector<TEntry> units = ReadList(data.U32(kUnitsAt), false);
    std::vector<TEntry> sources = ReadList(data.U32(kSourcesAt), false);
    std::vector<TEntry> symbols = ReadList(data.U32(kSymbolsAt), true);
    lines_ = ReadList(data.U32(kLinesAt), false);
    units_ = std::move(units);
    sources_ = std::move(sources);
    symbols_ = std::move(symbols);
    poolAt_ = data.U32(kPoolAt);
    return true;
}

// The stored sum lies across two words, where it adds itself rotated left by 8 bits: the sum
// of all words less the stored value, rotated back, gives it again.
bool TKFBinDebugScanner::ChecksumFits() const {
    const TByteView data(data_);
    uint32_t sum = 0;
    for (size_t at = 0; at < data.Size(); at += 4)
        sum += data.U32(at);
    const uint32_t stored = data.U32(kChecksumAt);
    return std::rotr(sum - stored, 8) == stored;
}

std::vector<TKFBinDebugScanner::TEntry> TKFBinDebugScanner::ReadList(size_t at,
                                                                     bool twoValues) const {
    const TByteView data(data_);
    std::vector<TEntry> entries;
    entries.reserve(64);
    TEntry entry{0, 0, 0};
    for (uint32_t delta = ReadJdbgNumber(data, at); delta != kListEnd;
         delta = ReadJdbgNumber(data, at)) {
        entry.Offset += delta;
        entry.First += ReadJdbgNumber(data, at);
        if (twoValues)
            entry.Second += ReadJdbgNumber(data, at);
        entries.push_back(entry);
    }
    return entries;
}

std::string TKFBinDebugScanner::PoolName(uint32_t index) const {
    return index == 0 ? std::string() : JdbgPoolName(TByteView(data_), size_t(poolAt_) + index - 1);
}

const TKFBinDebugScanner::TEntry* TKFBinDebugScanner::InUnit(const std::vector<TEntry>& entries,
                                                             uint32_t offset) const {
    const TEntry* unit = LastAtOrBelow(units_, offset);
    const TEntry* entry = LastAtOrBelow(entries, offset);
    return unit && entry && entry->Offset >= unit->Offset ? entry : nullptr;
}

std::string TKFBinDebugScanner::UnitAt(uint32_t offset) const {
    const TEntry* unit = LastAtOrBelow(units_, offset);
    return unit ? PoolName(unit->First) : std::string();
}

uint32_t TKFBinDebugScanner::UnitStartAt(uint32_t offset) const {
    const TEntry* unit = LastAtOrBelow(units_, offset);
    return unit ? unit->Offset : kNoUnit;
}

TKFProcAt TKFBinDebugScanner::ProcAt(uint32_t offset) const {
    const TEntry* symbol = InUnit(symbols_, offset);
    if (!symbol)
        return {};
    std::string name = PoolName(symbol->First);
    if (symbol->Second != 0)
        name += "." + PoolName(symbol->Second);
    return {name, offset - symbol->Offset};
}

TKFLineAt TKFBinDebugScanner::LineAt(uint32_t offset) const {
    const TEntry* line = InUnit(lines_, offset);
    return line ? TKFLineAt{int32_t(line->First), offset - line->Offset} : TKFLineAt{};
}

std::string TKFBinDebugScanner::SourceAt(uint32_t offset) const {
    const TEntry* source = InUnit(sources_, offset);
    return source ? PoolName(source->First) : std::string();
}
