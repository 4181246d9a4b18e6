// Where the time of one exception's processing goes. Each phase of the work charges its time
// to this clock; the report benchmark reads it. A phase inside another is charged to itself
// alone, the enclosing one pauses meanwhile.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

enum class TPhase : uint8_t {
    StackScan,
    AddressLookups,
    SystemValues,
    NetworkValues,
    ModuleList,
    ProcessList,
    Disassembly,
    ReportText,
    LogRead,
    LogMerge,
    LogWrite,
    Count,
};

constexpr size_t kPhaseCount = size_t(TPhase::Count);

// Charges the time from its making to its end to `phase`, in the calling thread.
class TPhaseScope {
  public:
    explicit TPhaseScope(TPhase phase);
    ~TPhaseScope();
    TPhaseScope(const TPhaseScope&) = delete;
    TPhaseScope& operator=(const TPhaseScope&) = delete;

  private:
    int outer_;
};

// Milliseconds per phase, in the order of TPhase.
using TPhaseTimes = std::array<double, kPhaseCount>;

// The time charged to each phase, in all threads, since the last call.
TPhaseTimes TakePhaseTimes();
// "stack scan", "address lookups", ...
const char* PhaseName(TPhase phase);
