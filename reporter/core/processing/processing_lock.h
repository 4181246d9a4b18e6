// One exception is processed at a time in the whole process: the exception manager and the
// hand-over hold this lock, and shut-down takes it once to wait for running work.
#pragma once
#include <mutex>

std::recursive_mutex& ProcessingLock();
