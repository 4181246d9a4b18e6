// The other threads of the process at the time of an exception: their stacks for the report,
// and suspending the ones the options want held while it is processed.
#pragma once
#include "reporter/core/interception/threads_list.h"
#include "reporter/core/processing/suspended_thread.h"
#include "reporter/diagnostics/stack/stack_list.h"
#include <memory>
#include <vector>

// Adds the live stacks of the tracked threads that StackFlags selects (0x04 the runtime's
// threads and the main thread, 0x08 all others), besides `exceptionThread`, then the creation
// stacks of those threads and of `exceptionThread`.
void AddThreadStacks(TVessarStackList& list, const TVessarThreadsSnapshot& threads,
                     uint8_t stackFlags, DWORD exceptionThread);

// Threads held while an exception is processed, let go again once, in order.
class TSuspendedThreads {
  public:
    TSuspendedThreads() = default;
    TSuspendedThreads(const TSuspendedThreads&) = delete;
    TSuspendedThreads& operator=(const TSuspendedThreads&) = delete;
    ~TSuspendedThreads() { ResumeAll(); }

    // BehaviourFlags 0x0001 the runtime's threads (with 0x0002 not the main thread), 0x0004 all
    // others; never the calling thread nor `exceptionThread`, which waits for the processing.
    void Suspend(const TVessarThreadsSnapshot& threads, uint16_t behaviourFlags,
                 DWORD exceptionThread);
    void ResumeAll();

  private:
    std::vector<std::unique_ptr<TSuspendedThread>> suspended_;
};
