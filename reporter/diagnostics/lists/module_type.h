// What kind of module a loaded image is.
#pragma once
#include "reporter/diagnostics/debug_info.h"

// kModuleProgram, kModulePackage or kModuleLibrary; a program when its headers cannot be read.
TVessarModuleType ModuleTypeOf(HMODULE module);
