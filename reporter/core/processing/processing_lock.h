// One exception is processed at a time in the whole process: the exception manager and the
// hand-over hold this lock, and shut-down takes it once to wait for running work.
#pragma once
#include <mutex>
#include <windows.h>

std::recursive_mutex& ProcessingLock();

// Waits until no other thread is processing an exception, at most `limitMs` milliseconds; true
// when none is. The lock is not kept.
bool WaitForProcessing(DWORD limitMs);
