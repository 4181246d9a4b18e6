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
    TModuleRef ModuleAt(const void* address);
    // The full description of a loaded module (type, exports, own line table or other tools'
    // debug data), made on first use. A light description is replaced by the full one; its
    // holders keep the light one.
    TModuleRef ModuleOf(HMODULE module);
    // For listing the modules: the description as it is cached, else a light one (file facts
    // only, type kModuleNotDetermined) that the next ModuleOf completes.
    TModuleRef LightModuleOf(HMODULE module);
    // The password that opens the names of the module's own line table.
    void SetPassword(HMODULE module, const std::string& password);
    // Forgets every module no longer loaded as it was described, or whose file changed since (it
    // is described again on demand).
    void DropStale();
    size_t Count() const;

  private:
    using TRecord = std::shared_ptr<TVessarModuleInfo>;
    // The slot of the module's description; a description of another module once loaded at the
    // same handle is dropped first. Null when there is none.
    TRecord* Cached(HMODULE module);
    TRecord& Full(HMODULE module);

    mutable std::recursive_mutex lock_;
    std::vector<TRecord> modules_;
};

// The process's list.
TVessarModulesList& ModulesList();
