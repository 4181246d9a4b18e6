// A small call stack of known entries in a module of known handle and file.
#pragma once
#include "reporter/diagnostics/stack/stack_list.h"

// The module at 00400000, "C:\Program Files\App\app.exe".
const TModuleRef& AppModule();

// An entry with a line: 00401234 in app.exe, main.cpp, TForm1.Button1Click, line 42, the
// third line of the procedure.
TVessarDebugInfo EntryWithLine();
// An entry known by its module alone: 00405678 in app.exe.
TVessarDebugInfo EntryWithoutLine();
// An entry in no module: 7C801234.
TVessarDebugInfo EntryOutsideModules();

// A list of the given entries, in order.
std::unique_ptr<TVessarStackList> StackOf(std::initializer_list<TVessarDebugInfo> entries);
