// A loaded module's crash reporter data: found in its KFDATA resource, else at the end of its
// file; its line table taken out whole or not at all.
#pragma once
#include "reporter/base/byte_stream.h"
#include "reporter/diagnostics/debug_formats/kfdata_container.h"
#include <windows.h>

// The module's container, as much of it as `parts` says; raises EKFDataError when it has none or
// it cannot be read.
TKFDataContainer ReadModuleKFData(HMODULE module, TKFDataParts parts = TKFDataParts::All);

// The absolute address of procedure `id`, or null when the module's table does not list it.
void* ProcedureAddress(HMODULE module, const TKFDataContainer& container, uint8_t id);

struct TKFModuleData {
    TKFDataContainer Container;
    std::vector<uint8_t> LineTable; // empty when the module carries none
};

// Fills `data` from the module's container for its debug information; false when the module has
// none or it cannot be read. A container of the older form keeps the options block before the
// line table, which only the options layer above can read past: while the crash reporter runs it
// installs the reader that does (and that also refuses a container whose options are damaged).
bool ReadModuleDebugData(HMODULE module, TKFModuleData& data);
using TModuleDataReader = bool (*)(HMODULE module, TKFModuleData& data);
void InstallModuleDataReader(TModuleDataReader reader); // null: the reader of this layer
