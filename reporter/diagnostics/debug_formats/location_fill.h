// A debug source's answer turned into a report entry's names.
#pragma once
#include "reporter/diagnostics/debug_formats/debug_source.h"
#include "reporter/diagnostics/debug_info.h"

// Sets Addr, Unit (the file part of the source file, else of the unit name), ClassName and
// Procedure (the procedure text split at "."), Line, ProcLine and Detail: 4 with a line, else
// 3 with a unit, 2 with a procedure, 1 with only the module (`info.Module`).
void FillFromLocation(const TKFLocationInfo& location, TVessarDebugInfo& info);
