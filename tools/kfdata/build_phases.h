// The phases of the build step, told as each ends to a caller that times them.
#pragma once
#include <functional>

using BuildPhaseEnded = std::function<void(const char* phase)>;

inline void EndPhase(const BuildPhaseEnded& phaseEnded, const char* phase) {
    if (phaseEnded)
        phaseEnded(phase);
}
