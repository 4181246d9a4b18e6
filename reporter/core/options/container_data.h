// What a crash reporter data container holds for the crash reporter: the options block and the
// line table, taken out whole or not at all.
#pragma once
#include "reporter/core/options/module_options.h"
#include "reporter/diagnostics/debug_formats/module_kfdata.h"

// Fills `options` and `data` from `container`. When its options block or line table is damaged
// the options stay as they were and the result is false.
bool LoadContainerData(TKFDataContainer container, TVessarModuleOptions& options,
                       TKFModuleData& data);
