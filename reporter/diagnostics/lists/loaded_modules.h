// The modules loaded in the process, as the report and the dialog list them.
#pragma once
#include "reporter/diagnostics/debug_info.h"
#include <vector>

// Descriptions shared with the modules list, sorted by handle.
using TLoadedModules = std::vector<TModuleRef>;

// The process-status library lists a process's modules on the NT family; elsewhere only the
// tool-help snapshot does.
enum class TModuleSource { ProcessStatus, Snapshot };
TModuleSource ModuleSourceForSystem();

// Drops the modules no longer loaded and adds those loaded since, sorted by handle; a module
// loaded at the handle of an unloaded one gets its own description. When the source is missing
// or lists nothing, the loader's own list stands in.
void RefreshModules(TLoadedModules& modules, TModuleSource source = ModuleSourceForSystem());
