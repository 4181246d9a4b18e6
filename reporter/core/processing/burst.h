// Many exceptions in little time: after RepeatCount of them within RepeatMinutes, the options'
// RepeatAction (terminate or restart) is requested.
#pragma once
#include "reporter/core/options/module_options.h"
#include <deque>

// Notes an exception now; keeps the RepeatCount most recent.
void NoteBurstException(std::deque<unsigned long long>& times, const TVessarStoredOptions& options,
                        unsigned long long now);
// Whether the kept exceptions are a burst.
bool IsBurst(const std::deque<unsigned long long>& times, const TVessarStoredOptions& options);
