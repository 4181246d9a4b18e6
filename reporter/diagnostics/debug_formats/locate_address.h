// Every address the crash reporter prints becomes module, unit, class, procedure and line.
#pragma once
#include "reporter/diagnostics/debug_info.h"

// Fills `info` anew (Addr, Module, Detail and the names that are known) for `address`, trying
// in turn the module's own line table, other tools' debug data and the module's exports.
// ThreadId, RunningThread and ErrorAddress are left to the caller. False when no module holds
// the address.
bool LocateAddress(const void* address, TVessarDebugInfo& info);
