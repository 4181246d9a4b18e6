// A loaded module's crash reporter data: found in its KFDATA resource, else at the end of its
// file; its options and line table taken out whole or not at all.
#pragma once
#include "reporter/core/kfdata_container.h"
#include "reporter/core/module_options.h"
#include <windows.h>

// The module's container; raises EKFDataError when it has none or it cannot be read.
TKFDataContainer ReadModuleKFData(HMODULE module);

// The absolute address of procedure `id`, or null when the module's table does not list it.
void* ProcedureAddress(HMODULE module, const TKFDataContainer& container, uint8_t id);

struct TKFModuleData {
    TKFDataContainer Container;
    std::vector<uint8_t> LineTable; // empty when the module carries none
};

// Fills `options` and `data` from the module's container. On any failure the options stay as
// they were and the result is false: the module counts as having no crash reporter data.
bool LoadModuleData(HMODULE module, TVessarModuleOptions& options, TKFModuleData& data);
