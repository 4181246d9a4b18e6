#include "reporter/core/processing/program_kind.h"
#include "reporter/core/options/reporter_module.h"
#include <cstdlib>
#include <windows.h>

bool IsConsoleProgram() {
    const auto* base = reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_CUI;
}

bool IsWebProgram() {
    if (GetProcAddress(ReporterModuleHandle(), "HttpExtensionProc"))
        return true;
    const char* method = std::getenv("REQUEST_METHOD");
    return IsConsoleProgram() && method;
}
