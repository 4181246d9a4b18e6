// Another thread of the process held still, so that where it stands can be read.
#pragma once
#include <windows.h>

class TSuspendedThread {
  public:
    // Suspends `thread` (a handle with suspend, context and query rights).
    explicit TSuspendedThread(HANDLE thread);
    // Resumes it.
    ~TSuspendedThread();
    TSuspendedThread(const TSuspendedThread&) = delete;
    TSuspendedThread& operator=(const TSuspendedThread&) = delete;

    bool Suspended() const { return suspended_; }
    // Its control and integer registers; false when they cannot be read.
    bool ReadContext(CONTEXT& context) const;
    // The base (highest address) of its stack, from its thread information block; null when
    // unknown.
    void* StackBase() const;

  private:
    HANDLE thread_;
    bool suspended_;
};
