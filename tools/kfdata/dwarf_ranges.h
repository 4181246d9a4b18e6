// Address range lists of DWARF 4 (.debug_ranges) and DWARF 5 (.debug_rnglists).
#pragma once
#include "dwarf_forms.h"
#include <cstdint>
#include <vector>

struct DwarfRange {
    uint32_t Begin = 0;
    uint32_t End = 0; // one past the range
};

// The list at `offset` of the section the unit's version uses; `base` is the unit's base
// address. Entries that name their addresses by index are left out.
std::vector<DwarfRange> ReadRangeList(const DwarfSections& sections, const DwarfUnit& unit,
                                      uint64_t offset, uint64_t base);
