// A module's own debug data: the line table in its crash reporter data.
#pragma once
#include "reporter/diagnostics/debug_formats/module_kfdata.h"
#include "reporter/diagnostics/debug_info.h"

// Takes the line table, the data's version and build time and the password check word over;
// the empty password is tried on the names. A module whose data holds no line table keeps
// DebugDataVersion 0.
void AttachOwnDebugData(TVessarModuleInfo& module, TKFModuleData data);

// Reads the module's crash reporter data and attaches it; false when the module has none or it
// cannot be read.
bool LoadOwnDebugData(TVessarModuleInfo& module);
