// A loaded module's export directory.
#pragma once
#include "reporter/diagnostics/debug_formats/exports_list.h"
#include <vector>
#include <windows.h>

// Every named export with the address its code really starts at: a forwarded export is
// resolved through the system's procedure lookup, and a jump through an import slot
// (FF 25) is followed. Unreadable parts of the directory are left out.
std::vector<TVessarFunctionInfo> ReadExportTable(HMODULE module);
