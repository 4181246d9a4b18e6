#include "dwarf_ranges.h"

namespace {

// Range list entry kinds of DWARF 5 (section 7.25).
enum : uint8_t {
    kEndOfList = 0,
    kBaseAddressx = 1,
    kStartxEndx = 2,
    kStartxLength = 3,
    kOffsetPair = 4,
    kBaseAddress = 5,
    kStartEnd = 6,
    kStartLength = 7,
};

void Add(std::vector<DwarfRange>& ranges, uint64_t begin, uint64_t end) {
    if (end > begin)
        ranges.push_back({uint32_t(begin), uint32_t(end)});
}

std::vector<DwarfRange> ReadRanges(DwarfCursor in, uint8_t addressSize, uint64_t base) {
    const uint64_t baseSelection = addressSize == 8 ? ~uint64_t{0} : 0xFFFFFFFFu;
    std::vector<DwarfRange> ranges;
    for (;;) {
        const uint64_t begin = in.Fixed(addressSize);
        const uint64_t end = in.Fixed(addressSize);
        if (begin == 0 && end == 0)
            return ranges;
        if (begin == baseSelection)
            base = end;
        else
            Add(ranges, base + begin, base + end);
    }
}

std::vector<DwarfRange> ReadRngLists(DwarfCursor in, uint8_t addressSize, uint64_t base) {
    std::vector<DwarfRange> ranges;
    for (;;) {
        switch (in.U8()) {
        case kEndOfList:
            return ranges;
        case kBaseAddressx:
            in.Uleb();
            break;
        case kStartxEndx:
        case kStartxLength:
            in.Uleb();
            in.Uleb();
            break;
        case kOffsetPair: {
            const uint64_t begin = in.Uleb();
            Add(ranges, base + begin, base + in.Uleb());
            break;
        }
        case kBaseAddress:
            base = in.Fixed(addressSize);
            break;
        case kStartEnd: {
            const uint64_t begin = in.Fixed(addressSize);
            Add(ranges, begin, in.Fixed(addressSize));
            break;
        }
        case kStartLength: {
            const uint64_t begin = in.Fixed(addressSize);
            Add(ranges, begin, begin + in.Uleb());
            break;
        }
        default:
            throw DwarfError("unknown range list entry");
        }
    }
}

} // namespace

std::vector<DwarfRange> ReadRangeList(const DwarfSections& sections, const DwarfUnit& unit,
                                      uint64_t offset, uint64_t base) {
    if (unit.Version >= 5)
        return ReadRngLists(DwarfCursor(sections.RngLists, size_t(offset)), unit.AddressSize, base);
    return ReadRanges(DwarfCursor(sections.Ranges, size_t(offset)), unit.AddressSize, base);
}
