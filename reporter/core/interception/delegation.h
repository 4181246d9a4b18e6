// Several modules of one process may carry a crash reporter. A library's instance hands what
// it sees to the program's instance (through the program's exports), so that one exception is
// reported once, by one reporter, with the program's options.
#pragma once
#include "reporter/core/interception/hooking/import_hooks.h"
#include <string>
#include <vector>
#include <windows.h>

// Whether `module` carries a crash reporter of this version or newer, with its exports.
bool ModuleCarriesReporter(HMODULE module);

// Decided at start: this is a library, and the program carries crash reporter data of this
// version or newer and the exports to forward to.
void DecideDelegation();
bool Delegating();
// The program's export of that name, when delegating; null otherwise.
void* ProgramExportAddress(const char* name);
template <class Function> Function ProgramExport(const char* name) {
    return reinterpret_cast<Function>(ProgramExportAddress(name));
}

// The modules whose import tables this instance patches: its own, and msvcrt.dll unless the
// program's instance does that (one replacement per call).
std::vector<std::string> ImportTablesToPatch();

// Replaces kernel32's procedure `name` by `replacement` in those import tables; `original`
// receives the procedure that was there.
template <class Proc> void ReplaceKernelImport(const char* name, Proc replacement, Proc& original) {
    void* previous = nullptr;
    HookImport(ImportTablesToPatch(), "kernel32.dll", name, reinterpret_cast<void*>(replacement),
               false, &previous);
    original = reinterpret_cast<Proc>(previous);
}
