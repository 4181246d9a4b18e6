// The modules of the process as the crash reporter describes them, each once.
#pragma once
#include "reporter/diagnostics/debug_info.h"
#include <memory>
#include <mutex>
#include <vector>

class TVessarModulesList {
  public:
    // The description of the module holding `address`, made on first use; null when no module
    // holds it.
    const TVessarModuleInfo* ModuleAt(const void* address);
    // The description of a loaded module, made on first use.
    const TVessarModuleInfo* ModuleOf(HMODULE module);
    // Forgets every module whose file changed since it was described (it is described again
    // on demand); descriptions stay valid until then.
    void DropChanged();
    size_t Count() const;

  private:
    mutable std::recursive_mutex lock_;
    std::vector<std::unique_ptr<TVessarModuleInfo>> modules_;
};

// The process's list.
TVessarModulesList& ModulesList();
