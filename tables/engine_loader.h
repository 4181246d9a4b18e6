// Finding and loading the engine library.
#pragma once
#include "idapi.h"
#include <windows.h>

struct TEngineLoad {
    HMODULE Module; // null when loading failed
    DBIResult Status;
};

// Loads IDAPI32.DLL from the first place that has it: the current directory, the search path
// in the engine's registry value DLLPATH, the system's library search. Error boxes stay
// suppressed meanwhile. Failure: 0x2108 (not found), 0x2501 (out of memory) or 0x2109.
TEngineLoad LoadEngineLibrary();
