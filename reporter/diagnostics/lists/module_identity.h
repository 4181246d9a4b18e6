// What tells one loaded module from another: its file and its image's link time stamp and size.
// A handle alone does not: a library loaded after another was unloaded may get its address.
#pragma once
#include "reporter/diagnostics/debug_info.h"

struct TModuleIdentity {
    std::string Path;
    uint32_t ImageTimeStamp = 0;
    uint32_t ImageSize = 0;
};

// The identity of the module loaded at `module` now; an empty Path when none is.
TModuleIdentity LoadedModuleIdentity(HMODULE module);
// Whether the description was made of the module that is loaded at its handle now.
bool Describes(const TVessarModuleInfo& info, const TModuleIdentity& loaded);
