#include "reporter/core/exception_manager.h"
#include "reporter/core/hand_over.h"
#include "reporter/core/memory_reserve.h"
#include <atomic>
#include <mutex>

namespace {

// One exception is processed at a time in the whole process.
std::recursive_mutex& ProcessingLock() {
    static std::recursive_mutex lock;
    return lock;
}

// Processing is serialised, so one thread id says which thread is processing.
std::atomic<DWORD> processingThread{0};

} // namespace

bool ExceptionManager(const Exception* object, void* address, int mode, HMODULE module) {
    if (!object || dynamic_cast<const EAbort*>(object) ||
        processingThread.load() == GetCurrentThreadId())
        return true;
    std::lock_guard<std::recursive_mutex> hold(ProcessingLock());
    processingThread = GetCurrentThreadId();
    ReleaseMemoryForReports();
    bool standardHandler = true;
    try {
        standardHandler = HandOverException(*object, address, mode, module);
    } catch (...) {
        // a failure of the crash reporter must not replace the application's exception
    }
    ReserveMemoryForReports();
    processingThread = 0;
    return standardHandler;
}
