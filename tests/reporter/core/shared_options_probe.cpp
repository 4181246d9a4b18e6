// A library of the test process built with the crash reporter: it reads the options that the
// main module shared, through its own copy of the reporter code.
#include "reporter/core/options/module_options_ex.h"

extern "C" __declspec(dllexport) int32_t ProbeFreezeSeconds(HMODULE mainModule) {
    TVessarModuleOptionsEx options("");
    options.SetModuleHandle(mainModule);
    options.Reload();
    return options.Stored().FreezeSeconds;
}
