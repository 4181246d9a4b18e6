// A module's crash reporter data with its options: the options block and the line table taken
// out whole or not at all.
#pragma once
#include "reporter/core/options/module_options.h"
#include "reporter/diagnostics/debug_formats/module_kfdata.h"

// Fills `options` and `data` from the module's container, as much of it as `parts` says. On any
// failure the options stay as they were and the result is false: the module counts as having no
// crash reporter data.
bool LoadModuleData(HMODULE module, TVessarModuleOptions& options, TKFModuleData& data,
                    TKFDataParts parts = TKFDataParts::All);

// The reader the debug information uses while the crash reporter runs: the same loading, its
// options dropped.
bool ReadModuleDataWithOptions(HMODULE module, TKFModuleData& data);
