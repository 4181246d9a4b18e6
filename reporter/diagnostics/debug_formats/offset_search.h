// The entry of a table kept in ascending offsets that holds a given offset.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

// The last entry whose Offset is not above `offset`; null when every entry lies above it.
template <class Entry>
const Entry* LastNotAbove(const std::vector<Entry>& entries, uint32_t offset) {
    auto after = std::upper_bound(entries.begin(), entries.end(), offset,
                                  [](uint32_t key, const Entry& e) { return key < e.Offset; });
    return after == entries.begin() ? nullptr : &*(after - 1);
}
