#include "reporter/diagnostics/stack/stack_scan.h"
#include "reporter/base/development_environment.h"
#include "reporter/base/phase_clock.h"
#include "reporter/diagnostics/stack/call_site.h"
#include "reporter/diagnostics/stack/stack_cleanup.h"
#include "reporter/diagnostics/stack/stack_entry.h"
#include "reporter/diagnostics/stack/stale_calls.h"

namespace {

constexpr uint64_t kWindowBytes = 102400;
constexpr size_t kWordBytes = 4;
// Readability is asked for this much stack at once where it can be.
constexpr size_t kProbeBlock = 400;

class TStackScanner {
  public:
    TStackScanner(TVessarStackList& list, TStackScanParams& params)
        : list_(list), params_(params) {}
    void Scan(uintptr_t start, uintptr_t top);

  private:
    size_t ProbedBudget(uintptr_t position);
    void ExamineWord(uintptr_t position);
    void AddCallSite(const TCallSite& site);

    TVessarStackList& list_;
    TStackScanParams& params_;
    TMemoryProbe memory_;
};

// Bytes from `position` on known to be readable: a block, a word, or none (the word is skipped).
size_t TStackScanner::ProbedBudget(uintptr_t position) {
    for (size_t block : {kProbeBlock, kWordBytes})
        if (memory_.Readable(position, block))
            return block;
    return 0;
}

void TStackScanner::Scan(uintptr_t start, uintptr_t top) {
    const uint64_t last = std::min<uint64_t>(top, start + kWindowBytes);
    size_t budget = 0;
    for (uint64_t position = start; position <= last; position += kWordBytes) {
        if (budget == 0)
            budget = ProbedBudget(uintptr_t(position));
        if (budget == 0)
            continue;
        budget -= kWordBytes;
        ExamineWord(uintptr_t(position));
        if (memory_.TakeFault())
            budget = 0;
    }
}

void TStackScanner::ExamineWord(uintptr_t position) {
    uint32_t word = 0;
    if (!memory_.Read(position, word))
        return;
    if (const auto site = CallSiteBefore(word, memory_))
        AddCallSite(*site);
}

// The called procedure's entry goes before the call: the clean-up tells by it which frames in
// between are stale.
void TStackScanner::AddCallSite(const TCallSite& site) {
    const auto entered =
        site.Target ? CalledProcedure(site.Target, memory_) : std::optional<uintptr_t>();
    if (params_.FollowCalls && entered)
        AddStackEntry(list_, params_, *entered, false);
    AddStackEntry(list_, params_, site.Address, false, entered.value_or(0));
}

} // namespace

void ScanStackWith(TVessarStackList& list, const void* errorAddress, const void* start,
                   const void* top, TStackScanParams& params) {
    const TPhaseScope phase(TPhase::StackScan);
    const size_t firstAppended = list.Count();
    if (errorAddress)
        AddStackEntry(list, params, reinterpret_cast<uintptr_t>(errorAddress), true);
    TStackScanner(list, params)
        .Scan(reinterpret_cast<uintptr_t>(start), reinterpret_cast<uintptr_t>(top));
    if (params.CheckCalls && params.Resolve)
        MarkStaleCalls(list, firstAppended, params.Locate);
    CleanUpStack(list, firstAppended, params.Resolve && HostIsDevelopmentEnvironment());
}
