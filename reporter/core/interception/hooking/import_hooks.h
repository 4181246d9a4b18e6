// Import-table patching: a module's calls of another module's procedure go to a replacement.
#pragma once
#include <string>
#include <vector>
#include <windows.h>

// One module whose import table was changed, as needed to change it back.
struct TSaveDLLProc {
    void* PreviousProc;
    void* NewProc;
    HMODULE Module;
    std::string ExportingModule;
};

// Replaces `exportingModule`'s procedure `procedureName` by `replacement` in the import table
// of each module of `moduleNames` that is loaded. `previous` always receives the replaced
// procedure. True when at least one entry was replaced. EProcNull when the procedure does not
// exist; EHookingError when a module has no import table, or, if `mustSucceed`, no such entry.
bool HookImport(const std::vector<std::string>& moduleNames, const std::string& exportingModule,
                const std::string& procedureName, void* replacement, bool mustSucceed,
                void** previous);

// Restores every replaced import entry: at shut-down.
void RestoreAllImports();
