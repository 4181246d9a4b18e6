// The rows of the report's modules and processes tables.
#pragma once
#include "reporter/diagnostics/lists/loaded_modules.h"
#include "reporter/diagnostics/lists/processes_list.h"
#include <string>
#include <vector>

using TListRows = std::vector<std::vector<std::string>>;

// Handle (8 hexadecimal digits), Name, Description, Version, Size (bytes), Modified, Path.
TListRows ModuleRows(const TLoadedModules& modules);
// ID, Name, Description, Version, Memory, Priority, Threads, Path.
TListRows ProcessRows(const TVessarProcessesList& processes);
