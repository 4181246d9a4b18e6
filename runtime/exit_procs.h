// Procedures that run when the program halts, before the units finalise.
#pragma once

using TExitProc = void (*)();

// The last added runs first.
void AddExitProc(TExitProc proc);
void RunExitProcs();
