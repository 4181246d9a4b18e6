// Hooking the runtime procedures that a module's crash reporter data lists by id.
#pragma once
#include "reporter/diagnostics/debug_formats/kfdata_container.h"
#include <windows.h>

// The trampoline of procedure `id`, now hooked; null when the module's table does not list it
// (the procedure is not linked in), which leaves everything as it is.
void* HookListedProcedure(HMODULE module, const TKFDataContainer& container, uint8_t id,
                          void* replacement);
