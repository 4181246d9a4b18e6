// The module this crash reporter is linked into: the program, or a library that carries its
// own crash reporter.
#pragma once
#include <string>
#include <windows.h>

HMODULE ReporterModuleHandle();
std::string ReporterModuleFileName();
