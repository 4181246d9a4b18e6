// Code ranges of a debug table looked up by binary search, answering as a scan of the table in
// its own order would: the first range that holds the offset.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

class TRangeIndex {
  public:
    // [start, end); ranges that hold nothing are left out.
    void Add(uint64_t start, uint64_t end, uint32_t item) {
        if (start < end)
            ranges_.push_back({start, end, item, uint32_t(ranges_.size())});
    }

    // Sorts once all are added. Overlapping ranges keep the table's order for the lookups
    // (rare in real data: the first one added wins, as before).
    void Seal() {
        std::sort(ranges_.begin(), ranges_.end(),
                  [](const TRange& a, const TRange& b) { return a.Start < b.Start; });
        for (size_t i = 1; i < ranges_.size() && !overlapping_; ++i)
            overlapping_ = ranges_[i].Start < ranges_[i - 1].End;
        if (overlapping_)
            std::sort(ranges_.begin(), ranges_.end(),
                      [](const TRange& a, const TRange& b) { return a.Order < b.Order; });
    }

    // The item of the range holding `offset`; false when none does.
    bool Find(uint64_t offset, uint32_t& item) const {
        if (overlapping_)
            return Scan(offset, item);
        auto after = std::upper_bound(ranges_.begin(), ranges_.end(), offset,
                                      [](uint64_t key, const TRange& r) { return key < r.Start; });
        if (after == ranges_.begin() || offset >= (after - 1)->End)
            return false;
        item = (after - 1)->Item;
        return true;
    }

  private:
    struct TRange {
        uint64_t Start, End;
        uint32_t Item, Order;
    };

    bool Scan(uint64_t offset, uint32_t& item) const {
        for (const TRange& range : ranges_)
            if (range.Start <= offset && offset < range.End) {
                item = range.Item;
                return true;
            }
        return false;
    }

    std::vector<TRange> ranges_;
    bool overlapping_ = false;
};
