// Whether the crash reporter's module is still initialising its units or already finalising
// them: the procedures that end initialisation and begin finalisation (ids 16 and 17 of the
// procedure table) are patched to say so.
#pragma once
#include "reporter/diagnostics/debug_formats/kfdata_container.h"
#include <windows.h>

void WatchModulePhases(HMODULE module, const TKFDataContainer& container);
void StopWatchingModulePhases();
bool ModuleInitialising();
bool ModuleFinalising();
