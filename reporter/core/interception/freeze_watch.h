// Start and stop of the freeze-detection thread, switched by the crash reporter's own options
// when Enabled or FreezeCheck change. The thread's code registers them here, so that the
// options do not depend on it; until it does, switching does nothing.
#pragma once

using FreezeWatchProc = void (*)();

// Either may be null.
void SetFreezeWatch(FreezeWatchProc start, FreezeWatchProc stop);
// Runs the registered start when `on`, else the registered stop.
void SwitchFreezeWatch(bool on);
