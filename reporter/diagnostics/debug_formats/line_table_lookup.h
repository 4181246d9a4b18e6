// Looking an address up in a module's own line table, through the table's index: the unit by
// binary search, then a few records from the nearest checkpoint.
#pragma once
#include "reporter/diagnostics/debug_info.h"

// Fills Detail, Addr, Unit, ClassName, Procedure, Line and ProcLine when a unit of the table
// holds `address`; a unit of the crash reporter's own gives Detail 1 and no names (see
// hidden_units.h). False, `info` unchanged, when no unit holds it. Raises EStreamReadError for
// a damaged table. A module without a LineIndex has its table indexed for this lookup alone.
bool LocateInLineTable(const TVessarModuleInfo& module, const void* address,
                       TVessarDebugInfo& info);
