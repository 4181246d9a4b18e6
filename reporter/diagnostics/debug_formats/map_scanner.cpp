#include "reporter/diagnostics/debug_formats/map_scanner.h"
#include "reporter/diagnostics/debug_formats/offset_search.h"

namespace {

constexpr uint16_t kCodeSegment = 1;
constexpr size_t kGrowth = 256;

// Names stand in columns: one ends at a line end, a blank or a "("; a name in parentheses
// (a source file) is all of the text inside them.
std::string StoredName(std::string_view text) {
    if (text.starts_with("("))
        return std::string(text.substr(1, text.find(')') - 1));
    return std::string(text.substr(0, text.find_first_of("\r (")));
}

template <class Entry> void Append(std::vector<Entry>& entries, Entry entry) {
    if (entries.size() == entries.capacity())
        entries.reserve(entries.size() + kGrowth);
    entries.push_back(std::move(entry));
}

} // namespace

TKFMapScanner::TKFMapScanner(std::string text) : TKFAbstractMapParser(std::move(text)) {
    Parse();
    segments_.shrink_to_fit();
    publics_.shrink_to_fit();
    lines_.shrink_to_fit();
    sources_.shrink_to_fit();
}

void TKFMapScanner::SegmentItem(uint16_t segment, uint32_t offset, uint32_t length,
                                std::string_view unit) {
    if (segment != kCodeSegment)
        return;
    Append(segments_, TSegment{offset, offset + length, StoredName(unit)});
    topOffset_ = std::max(topOffset_, offset + length);
}

void TKFMapScanner::PublicByValueItem(uint16_t segment, uint32_t offset, std::string_view name) {
    if (segment == kCodeSegment)
        Append(publics_, TNamed{offset, StoredName(name)});
}

void TKFMapScanner::LineNumbersUnitItem(std::string_view, std::string_view sourceFile) {
    unitSource_ = StoredName(sourceFile);
    unitHasLines_ = false;
}

void TKFMapScanner::LineNumberItem(uint32_t line, uint16_t segment, uint32_t offset) {
    if (!Acceptable(segment, offset)) {
        ++lineErrors_;
        return;
    }
    if (!unitHasLines_)
        Append(sources_, TNamed{offset, unitSource_});
    unitHasLines_ = true;
    Append(lines_, TLine{offset, int32_t(line)});
    anyLine_ = true;
    lastLineOffset_ = offset;
}

// Only code lines are kept, and they must rise through the file for the binary search; the
// first pair has nothing to be compared with.
bool TKFMapScanner::Acceptable(uint16_t segment, uint32_t offset) const {
    if (segment != kCodeSegment)
        return false;
    return !anyLine_ || (offset > 0 && offset <= topOffset_ && offset > lastLineOffset_);
}

const TKFMapScanner::TSegment* TKFMapScanner::SegmentAt(uint32_t offset) const {
    for (auto segment = segments_.rbegin(); segment != segments_.rend(); ++segment)
        if (segment->Start <= offset && offset <= segment->End)
            return &*segment;
    return nullptr;
}

template <class Entry>
const Entry* TKFMapScanner::InUnit(const std::vector<Entry>& entries, uint32_t offset) const {
    const TSegment* segment = SegmentAt(offset);
    const Entry* entry = LastNotAbove(entries, offset);
    return segment && entry && entry->Offset >= segment->Start ? entry : nullptr;
}

std::string TKFMapScanner::UnitAt(uint32_t offset) const {
    const TSegment* segment = SegmentAt(offset);
    return segment ? segment->Unit : std::string();
}

uint32_t TKFMapScanner::UnitStartAt(uint32_t offset) const {
    const TSegment* segment = SegmentAt(offset);
    return segment ? segment->Start : kNoUnit;
}

TKFProcAt TKFMapScanner::ProcAt(uint32_t offset) const {
    const TNamed* found = InUnit(publics_, offset);
    return found ? TKFProcAt{found->Name, offset - found->Offset} : TKFProcAt{};
}

TKFLineAt TKFMapScanner::LineAt(uint32_t offset) const {
    const TLine* found = InUnit(lines_, offset);
    return found ? TKFLineAt{found->Line, offset - found->Offset} : TKFLineAt{};
}

std::string TKFMapScanner::SourceAt(uint32_t offset) const {
    const TNamed* found = InUnit(sources_, offset);
    return found ? found->Name : std::string();
}
