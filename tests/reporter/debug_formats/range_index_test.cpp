// Code ranges found by binary search answer as a scan of the table in its order would.
#include "reporter/diagnostics/debug_formats/range_index.h"
#include <gtest/gtest.h>

namespace {

struct Range {
    uint64_t Start, End;
    uint32_t Item;
};

int Found(const TRangeIndex& index, uint64_t offset) {
    uint32_t item = 0;
    return index.Find(offset, item) ? int(item) : -1;
}

TEST(RangeIndex, FindsTheFirstRangeOfTheTableThatHoldsTheOffset) {
    struct Case {
        const char* what;
        std::vector<Range> ranges;
        std::vector<std::pair<uint64_t, int>> lookups; // offset, item (-1: none)
    } cases[] = {
        {"apart, added out of order",
         {{0x300, 0x340, 3}, {0x100, 0x180, 1}, {0x200, 0x210, 2}},
         {{0xFF, -1}, {0x100, 1}, {0x17F, 1}, {0x180, -1}, {0x20F, 2}, {0x300, 3}, {0x340, -1}}},
        {"touching", {{0x10, 0x20, 1}, {0x20, 0x30, 2}}, {{0x1F, 1}, {0x20, 2}, {0x30, -1}}},
        {"empty ranges hold nothing", {{0x10, 0x10, 1}, {0x10, 0x11, 2}}, {{0x10, 2}}},
        {"overlapping: the first added wins",
         {{0x100, 0x200, 1}, {0x80, 0x180, 2}, {0x150, 0x160, 3}},
         {{0x90, 2}, {0x100, 1}, {0x155, 1}, {0x1FF, 1}, {0x200, -1}}},
        {"past 4 GB", {{0xFFFFFFF0, 0x100000000, 7}}, {{0xFFFFFFFF, 7}, {0xFFFFFFEF, -1}}},
        {"none", {}, {{0, -1}}},
    };
    for (const Case& c : cases) {
        TRangeIndex index;
        for (const Range& r : c.ranges)
            index.Add(r.Start, r.End, r.Item);
        index.Seal();
        for (const auto& [offset, item] : c.lookups)
            EXPECT_EQ(Found(index, offset), item) << c.what << " at " << std::hex << offset;
    }
}

} // namespace
