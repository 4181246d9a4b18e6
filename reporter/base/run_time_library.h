// A system library loaded for one task and freed when the task ends, so that a missing library
// or entry point fails only that task.
#pragma once
#include <windows.h>

class TRunTimeLibrary {
  public:
    explicit TRunTimeLibrary(const char* name) : module_(LoadLibraryA(name)) {}
    ~TRunTimeLibrary() {
        if (module_)
            FreeLibrary(module_);
    }
    TRunTimeLibrary(const TRunTimeLibrary&) = delete;
    TRunTimeLibrary& operator=(const TRunTimeLibrary&) = delete;

    // The entry `name` as a pointer to `F` (e.g. decltype(GetAdaptersInfo)); null when the
    // library or the entry is missing.
    template <class F> F* Function(const char* name) const {
        if (!module_)
            return nullptr;
        return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

  private:
    HMODULE module_;
};
