// Every address the crash reporter prints becomes module, unit, class, procedure and line.
#pragma once
#include "reporter/diagnostics/debug_info.h"

// Fills `info` (Addr, Module, Detail and the names that are known) for `address`; ThreadId and
// RunningThread are left to the caller. False when no module holds the address.
bool LocateAddress(const void* address, TVessarDebugInfo& info);
