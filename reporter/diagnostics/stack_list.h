// Call stacks: the looked-up addresses of a thread's stack, in the order found.
#pragma once
#include "reporter/diagnostics/debug_info.h"
#include <memory>
#include <vector>

class TVessarStackList {
  public:
    size_t Count() const { return entries_.size(); }
    const TVessarDebugInfo& operator[](size_t index) const { return *entries_[index]; }
    TVessarDebugInfo& operator[](size_t index) { return *entries_[index]; }
    void Add(std::unique_ptr<TVessarDebugInfo> entry) { entries_.push_back(std::move(entry)); }
    void Delete(size_t index) { entries_.erase(entries_.begin() + ptrdiff_t(index)); }
    void Clear() { entries_.clear(); }

  private:
    std::vector<std::unique_ptr<TVessarDebugInfo>> entries_;
};

// Every Detail value: the set 0 to 4.
constexpr uint32_t kAllDetails = 31;

// Appends the entries of one scan: the error address first (when not null), then what the
// stack from `start` to `top` shows.
void ScanStack(TVessarStackList& list, void* errorAddress, const void* start,
               uint32_t allowedDetails, int maxCount, int firstLevel, bool followCalls,
               bool resolve, bool runningThread, DWORD threadId, const void* top);
std::unique_ptr<TVessarStackList> NewStackList(void* errorAddress, const void* start,
                                               const void* top, uint32_t allowedDetails,
                                               int maxCount, int firstLevel, bool followCalls,
                                               bool runningThread, DWORD threadId);
