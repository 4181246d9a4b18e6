// Which loaded module holds an address, and its file.
#pragma once
#include <string>
#include <windows.h>

// Null when the address lies in no loaded module.
HMODULE ModuleAt(const void* address);
// The loaded module of that file name; null when it is empty or no such module is loaded.
HMODULE LoadedModule(const std::string& fileName);
// The module's full path (the program's for null); empty when unknown.
std::string ModulePath(HMODULE module);
// The file name alone, e.g. "ProfileUpgrade.exe".
std::string ModuleFileName(HMODULE module);
