#include "reporter/core/processing/processing_lock.h"

namespace {

constexpr DWORD kPollMs = 10;

} // namespace

std::recursive_mutex& ProcessingLock() {
    static std::recursive_mutex lock;
    return lock;
}

bool WaitForProcessing(DWORD limitMs) {
    const ULONGLONG until = GetTickCount64() + limitMs;
    while (!ProcessingLock().try_lock()) {
        if (GetTickCount64() >= until)
            return false;
        Sleep(kPollMs);
    }
    ProcessingLock().unlock();
    return true;
}
