#include "reporter/diagnostics/debug_formats/td32_parser.h"
#include <algorithm>

namespace {

constexpr size_t kTrailerSize = 8;
constexpr size_t kEntrySize = 12;
constexpr uint16_t kModule = 0x120;
constexpr uint16_t kAlignedSymbols = 0x125;
constexpr uint16_t kSourceModule = 0x127;
constexpr uint16_t kNames = 0x130;
constexpr uint16_t kLocalProcedure = 0x204;
constexpr uint16_t kGlobalProcedure = 0x205;
// A chain of directories longer than this loops.
constexpr int kMaxDirectories = 64;

// Field positions inside the records.
constexpr size_t kModuleSegmentCount = 4;
constexpr size_t kModuleName = 8;
constexpr size_t kModuleSegments = 28;
constexpr size_t kProcedureLength = 16;
constexpr size_t kProcedureOffset = 28;
constexpr size_t kProcedureName = 39;

bool IsSignature(std::string_view text) {
    return text == "FB09" || text == "FB0A";
}

[[noreturn]] void Malformed(const char* what) {
    throw EStreamReadError(what);
}

// The data from its TD32 start on.
TByteView TD32Part(TByteView data) {
    const uint32_t distance = data.U32(data.Size() - 4);
    return data.Part(data.Size() - distance, distance);
}

} // namespace

bool IsTD32Data(TByteView data) {
    if (data.Size() <= kTrailerSize || !IsSignature(data.Text(data.Size() - kTrailerSize, 4)))
        return false;
    const uint32_t distance = data.U32(data.Size() - 4);
    return distance >= 2 * kTrailerSize && distance <= data.Size() &&
           IsSignature(data.Text(data.Size() - distance, 4));
}

TKFTD32InfoParser::TKFTD32InfoParser(TByteView data) {
    try {
        if (!IsTD32Data(data))
            return;
        names_.assign(1, std::string());
        budget_ = data.Size() / 4;
        ReadDirectories(TD32Part(data));
        valid_ = NamesInRange();
    } catch (const EStreamReadError&) {
        valid_ = false;
    }
    if (!valid_)
        Forget();
}

void TKFTD32InfoParser::Forget() {
    modules_.clear();
    procedures_.clear();
    sources_.clear();
}

void TKFTD32InfoParser::ReadDirectories(TByteView data) {
    uint32_t directory = data.U32(4);
    for (int count = 0; directory != 0; ++count) {
        if (count == kMaxDirectories)
            Malformed("The TD32 directories form a loop.");
        if (data.U16(directory + 2) != kEntrySize)
            Malformed("A TD32 directory has entries of another size.");
        const size_t entries = directory + data.U16(directory);
        for (uint32_t i = 0, n = data.U32(directory + 4); i < n; ++i) {
            const size_t entry = entries + i * kEntrySize;
            ReadSubsection(data.U16(entry), data.Part(data.U32(entry + 4), data.U32(entry + 8)));
        }
        directory = data.U32(directory + 8);
    }
}

void TKFTD32InfoParser::ReadSubsection(uint16_t type, TByteView subsection) {
    switch (type) {
    case kModule:
        ReadModule(subsection);
        break;
    case kAlignedSymbols:
        ReadSymbols(subsection);
        break;
    case kSourceModule:
        ReadSourceModule(subsection);
        break;
    case kNames:
        ReadNames(subsection);
        break;
    default: // types, globals and the rest: no lookup needs them
        break;
    }
}

void TKFTD32InfoParser::ReadModule(TByteView subsection) {
    TModule module{subsection.U32(kModuleName), {}};
    const uint16_t segments = subsection.U16(kModuleSegmentCount);
    Spend(segments);
    for (uint16_t i = 0; i < segments; ++i) {
        const size_t segment = kModuleSegments + i * size_t(12);
        module.Segments.push_back({subsection.U32(segment + 4), subsection.U32(segment + 8)});
    }
    modules_.push_back(std::move(module));
}

// Lookups ask only for the procedure holding an offset: the other symbol kinds (data,
// constants, types, labels, publics) are passed over.
void TKFTD32InfoParser::ReadSymbols(TByteView subsection) {
    for (size_t at = 4; subsection.Has(at, 4);) {
        const uint16_t length = subsection.U16(at);
        const uint16_t kind = subsection.U16(at + 2);
        if (length < 2)
            Malformed("A TD32 symbol record is empty.");
        if (kind == kLocalProcedure || kind == kGlobalProcedure) {
            Spend(1);
            procedures_.push_back({subsection.U32(at + kProcedureName),
                                   subsection.U32(at + kProcedureOffset),
                                   subsection.U32(at + kProcedureLength)});
        }
        at += size_t(length) + 2;
    }
}

void TKFTD32InfoParser::ReadSourceModule(TByteView subsection) {
    for (uint16_t i = 0, n = subsection.U16(0); i < n; ++i) {
        TSourceFile file = ReadSourceFile(subsection, subsection.U32(4 + i * size_t(4)));
        if (file.Name != 0)
            sources_.push_back(std::move(file));
    }
}

TKFTD32InfoParser::TSourceFile TKFTD32InfoParser::ReadSourceFile(TByteView subsection, size_t at) {
    const uint16_t segments = subsection.U16(at);
    const size_t ranges = at + 4 + segments * size_t(4);
    TSourceFile file{subsection.U32(ranges + segments * size_t(8)), {}, {}};
    Spend(segments);
    for (uint16_t s = 0; s < segments; ++s) {
        file.Ranges.push_back({subsection.U32(ranges + s * 8), subsection.U32(ranges + s * 8 + 4)});
        const size_t block = subsection.U32(at + 4 + s * size_t(4));
        const uint16_t pairs = subsection.U16(block + 2);
        Spend(pairs);
        const size_t lines = block + 4 + pairs * size_t(4);
        for (uint16_t p = 0; p < pairs; ++p)
            file.Lines.push_back(
                {subsection.U32(block + 4 + p * size_t(4)), subsection.U16(lines + p * size_t(2))});
    }
    return file;
}

void TKFTD32InfoParser::ReadNames(TByteView subsection) {
    size_t at = 4;
    for (uint32_t i = 0, n = subsection.U32(0); i < n; ++i) {
        const uint8_t length = subsection.U8(at);
        names_.emplace_back(subsection.Text(at + 1, length));
        at += size_t(length) + 2;
    }
}

void TKFTD32InfoParser::Spend(size_t count) {
    if (count > budget_)
        Malformed("The TD32 data lists more than it holds.");
    budget_ -= count;
}

bool TKFTD32InfoParser::NamesInRange() const {
    const auto inRange = [this](uint32_t index) { return index < names_.size(); };
    return std::all_of(modules_.begin(), modules_.end(),
                       [&](const TModule& m) { return inRange(m.Name); }) &&
           std::all_of(procedures_.begin(), procedures_.end(),
                       [&](const TProcedure& p) { return inRange(p.Name); }) &&
           std::all_of(sources_.begin(), sources_.end(),
                       [&](const TSourceFile& f) { return inRange(f.Name); });
}
