// The errors of the hooking layer; each names what could not be hooked.
#pragma once
#include "runtime/exception.h"
#include <string>

// The procedure to hook, or the procedure it replaces, is null.
class EProcNull : public Exception {
  public:
    explicit EProcNull(const std::string& procedureName);
};

// A code patch failed, or an import entry was missing or could not be looked for.
class EHookingError : public Exception {
  public:
    explicit EHookingError(const std::string& procedureName);
};

// On the Windows 9x family, memory at or above 2 GB is shared by all processes: never patched.
class ESharedArea : public Exception {
  public:
    explicit ESharedArea(const std::string& moduleFileName);
};
