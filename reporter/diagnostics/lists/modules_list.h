// The modules of the process as the crash reporter describes them, each once.
#pragma once
#include "reporter/diagnostics/debug_info.h"
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TVessarModulesList {
  public:
    // The description of the module holding `address`, made on first use; null when no module
    // holds it.
    const TVessarModuleInfo* ModuleAt(const void* address);
    // The full description of a loaded module (type, exports, own line table or other tools'
    // debug data), made on first use. A light description is completed in place, so pointers
    // to it stay valid.
    const TVessarModuleInfo* ModuleOf(HMODULE module);
    // For listing the modules: the description as it is cached, else a light one (file facts
    // only, type kModuleNotDetermined) that the next ModuleOf completes.
    const TVessarModuleInfo* LightModuleOf(HMODULE module);
    // The password that opens the names of the module's own line table.
    void SetPassword(HMODULE module, const std::string& password);
    // Forgets every module whose file changed since it was described (it is described again
    // on demand); descriptions stay valid until then.
    void DropChanged();
    size_t Count() const;

  private:
    TVessarModuleInfo* Cached(HMODULE module) const;
    TVessarModuleInfo* Full(HMODULE module);

    mutable std::recursive_mutex lock_;
    std::vector<std::unique_ptr<TVessarModuleInfo>> modules_;
};

// The process's list.
TVessarModulesList& ModulesList();
