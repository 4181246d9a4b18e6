// Reading memory that may turn unreadable at any moment (another thread frees it): a fault ends
// the read, not the process. C++ cannot catch the system's access violation here, so a vectored
// handler resumes the faulting copy at its failure exit.
#pragma once
#include <cstddef>

// Keeps the handler installed (for every thread) while it exists; guards may nest and overlap.
class TReadFaultGuard {
  public:
    TReadFaultGuard();
    ~TReadFaultGuard();
    TReadFaultGuard(const TReadFaultGuard&) = delete;
    TReadFaultGuard& operator=(const TReadFaultGuard&) = delete;

  private:
    void* handler_;
};

// Copies `size` bytes; false when reading them faulted (`to` then holds part of them). Call it
// only while a TReadFaultGuard exists.
bool GuardedRead(const void* from, void* to, size_t size);

// Copies `size` bytes of this process's memory under a guard of its own; false when any of them
// could not be read. For the crash reporter's own process this replaces ReadProcessMemory, which
// goes through the system's cross-process path and fails where that path is unavailable.
bool ReadOwnMemory(const void* from, void* to, size_t size);
