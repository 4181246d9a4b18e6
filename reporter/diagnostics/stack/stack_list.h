// Call stacks: the looked-up addresses of a thread's stack, in the order found.
#pragma once
#include "reporter/base/thread_stack.h"
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

// The call-stack tracing's named interface; the project's own code passes a TStackScanParams
// (stack_scan.h) instead of the positional arguments.
// Appends the entries of one scan: the error address first (when not null), then the call sites
// that the return addresses on the stack from `start` to `top` point behind, at most 102,400
// bytes of it; a list takes no more once it holds 1,025 entries. `allowedDetails` has bit n set
// for each Detail n to accept. Of the accepted entries those from the `firstLevel`-th (counted
// from 1) on are kept, at most `maxCount` of them (negative: no maximum); a `firstLevel` of -1
// keeps every one. `followCalls` enters the procedure a direct call enters before the call.
// Without `resolve` an entry names its module alone. Every entry carries `runningThread` and
// `threadId`. Then takes out what is not part of the call stack (see CleanUpStack).
void ScanStack(TVessarStackList& list, void* errorAddress, const void* start,
               uint32_t allowedDetails, int maxCount, int firstLevel, bool followCalls,
               bool resolve, bool runningThread, DWORD threadId, const void* top);
// A new list holding one scan, its addresses looked up.
std::unique_ptr<TVessarStackList> NewStackList(void* errorAddress, const void* start,
                                               const void* top, uint32_t allowedDetails,
                                               int maxCount, int firstLevel, bool followCalls,
                                               bool runningThread, DWORD threadId);

// The range a scan of the calling thread covers: from where its stack stands now (the caller's
// stack pointer) up to the stack's top (its base).
[[gnu::always_inline]] inline const void* CurrentStackPointer() {
    return StackPointer();
}
inline const void* StackTop() {
    return StackBase();
}
