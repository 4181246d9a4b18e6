#include "reporter/core/processing/burst.h"

void NoteBurstException(std::deque<unsigned long long>& times, const TVessarStoredOptions& options,
                        unsigned long long now) {
    if (options.RepeatAction == 0)
        return;
    times.push_back(now);
    while (times.size() > size_t(std::max(options.RepeatCount, 0)))
        times.pop_front();
}

bool IsBurst(const std::deque<unsigned long long>& times, const TVessarStoredOptions& options) {
    return options.RepeatCount > 0 && times.size() == size_t(options.RepeatCount) &&
           times.back() - times.front() <= 60000ull * unsigned(std::max(options.RepeatMinutes, 0));
}
