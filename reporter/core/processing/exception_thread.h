// Processing runs on a thread of its own (`TExceptionThread`, highest priority) while the
// thread that raised the exception waits for it: the faulting thread's stack and state stay as
// they were, and the steps that must run in the faulting thread (notifications, a few window
// steps) are published to it.
#pragma once
#include <functional>

struct TFaultingThreadWait {
    // Keep the faulting thread's windows alive meanwhile (it is the main thread and a dialog is
    // up): up to 11 messages per round, input beeped away.
    std::function<bool()> PumpMessages;
};

// Runs `work` on a new processing thread and waits for it, running what it publishes as soon
// as it is published and pumping messages in 10 ms steps. Returns what `work` returned; a
// processing thread that cannot be waited for is killed and the result is false.
bool RunOnExceptionThread(const std::function<bool()>& work, const TFaultingThreadWait& wait);

// Runs `procedure` in the faulting thread: directly when the caller is that thread, else
// published to it; errors are swallowed. Nothing runs once `stopping` was called.
void RunInFaultingThread(const std::function<void()>& procedure);
// The crash reporter ends the process: nothing more is run in the faulting thread.
void StopRunningInFaultingThread();
