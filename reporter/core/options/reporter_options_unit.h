// The crash reporter's options at start-up, as the first unit of a module that carries it (the
// program, or a library with a crash reporter of its own): the process-wide current options
// (defaults, no module), the module's shared copy (empty), and the module's own options from its
// crash reporter data. Shut-down frees them in reverse.
#pragma once
#include "reporter/base/development_environment.h"
#include "reporter/core/options/module_options_ex.h"
#include "reporter/diagnostics/debug_formats/module_kfdata.h"
#include "runtime/units.h"

extern const TUnit ReporterOptionsUnit;

// Receives a copy of the options of the module that raised the exception being processed.
TVessarModuleOptionsEx& CurrentOptions();
// The options of the module that contains the crash reporter, read from its data at start.
// Raises an Exception naming the module when the crash reporter is not active there.
TVessarModuleOptionsEx& CurrentVessarionOptions();
// Whether the reporter's module carries crash reporter data: the crash reporter is active only
// then.
bool ReporterModuleHasData();
// The reporter's module's crash reporter data as read at start: its container without the line
// table, which the debug information reads when it first needs it.
const TKFModuleData& ReporterModuleData();
