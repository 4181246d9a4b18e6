#include "reporter/core/hand_over.h"
#include "reporter/core/reporter_module.h"
#include "runtime/format.h"
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

std::mutex& RecordLock() {
    static std::mutex lock;
    return lock;
}

std::vector<THandedOver>& Recorded() {
    static std::vector<THandedOver> recorded;
    return recorded;
}

// The file name alone: which module's crash reporter took the exception.
std::string ModuleFileName(HMODULE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    const char* name = std::strrchr(path, '\\');
    return name ? name + 1 : path;
}

} // namespace

bool HandOverException(const Exception& object, void* address, int mode, HMODULE) {
    THandedOver entry{object.ClassName(), object.Message(), address, mode, GetCurrentThreadId()};
    std::fputs(Format("Vessarion: handed over %s at %08X, mode %d, thread %lu, to %s: %s\n",
                      entry.ClassName.c_str(), unsigned(uintptr_t(address)), mode, entry.ThreadId,
                      ModuleFileName(ReporterModuleHandle()).c_str(), entry.Message.c_str())
                   .c_str(),
               stderr);
    std::fflush(stderr);
    std::lock_guard<std::mutex> hold(RecordLock());
    Recorded().push_back(entry);
    return true; // nothing is shown yet: the standard handler still tells the user
}

std::vector<THandedOver> HandedOverExceptions() {
    std::lock_guard<std::mutex> hold(RecordLock());
    return Recorded();
}
