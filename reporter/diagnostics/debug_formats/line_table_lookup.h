// Looking an address up in a module's own line table. The table is decoded from its start on
// every lookup and the decoding stops at the first match.
#pragma once
#include "reporter/diagnostics/debug_info.h"

// Fills Detail, Addr, Unit, ClassName, Procedure, Line and ProcLine when a unit of the table
// holds `address`; a unit of the crash reporter's own gives Detail 1 and no names (see
// hidden_units.h). False, `info` unchanged, when no unit holds it. Raises EStreamReadError for
// a damaged table.
bool LocateInLineTable(const TVessarModuleInfo& module, const void* address,
                       TVessarDebugInfo& info);
