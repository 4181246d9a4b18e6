#include "reporter/core/interception/freeze_watch.h"
#include <atomic>

namespace {

// Registered once at start-up but read from any thread that changes options.
std::atomic<FreezeWatchProc> startWatch{nullptr};
std::atomic<FreezeWatchProc> stopWatch{nullptr};

} // namespace

void SetFreezeWatch(FreezeWatchProc start, FreezeWatchProc stop) {
    startWatch = start;
    stopWatch = stop;
}

void SwitchFreezeWatch(bool on) {
    FreezeWatchProc proc = on ? startWatch.load() : stopWatch.load();
    if (proc != nullptr)
        proc();
}
