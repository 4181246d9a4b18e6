// The options an exception is processed with: those of the module that raised it.
#pragma once
#include "reporter/core/options/module_options_ex.h"
#include <windows.h>

// The module whose options apply: the one holding `address` when it carries the crash
// reporter, else the calling module when it does, else the program; with BehaviourFlags
// 0x0008 of that module the program's options win when the program carries them.
HMODULE ModuleForOptions(void* address, HMODULE callingModule);

// Copies that module's options (as it last published them) into `options`, and names it there.
// In the development environment the dialog's texts say so.
void TakeModuleOptions(TVessarModuleOptionsEx& options, HMODULE module);
