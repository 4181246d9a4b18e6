#include "reporter/base/phase_clock.h"
#include <atomic>
#include <windows.h>

namespace {

constexpr int kNoPhase = -1;

std::atomic<int64_t> charged[kPhaseCount];
thread_local int currentPhase = kNoPhase;
thread_local int64_t currentSince = 0;

int64_t Now() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// The running phase gets the time since it started or resumed.
int64_t ChargeCurrent() {
    const int64_t now = Now();
    if (currentPhase != kNoPhase)
        charged[currentPhase] += now - currentSince;
    currentSince = now;
    return now;
}

} // namespace

TPhaseScope::TPhaseScope(TPhase phase) : outer_(currentPhase) {
    ChargeCurrent();
    currentPhase = int(phase);
}

TPhaseScope::~TPhaseScope() {
    ChargeCurrent();
    currentPhase = outer_;
}

TPhaseTimes TakePhaseTimes() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    TPhaseTimes times{};
    for (size_t i = 0; i < kPhaseCount; ++i)
        times[i] = double(charged[i].exchange(0)) * 1000.0 / double(frequency.QuadPart);
    return times;
}

const char* PhaseName(TPhase phase) {
    static const char* const kNames[kPhaseCount] = {
        "stack scan",  "address lookups", "system values", "network values",
        "module list", "process list",    "disassembly",   "report text",
        "log read",    "log merge",       "log write"};
    return kNames[size_t(phase)];
}
