#include "reporter/core/interception/delegation.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/diagnostics/debug_formats/module_kfdata.h"
#include <atomic>

namespace {

std::atomic<bool> delegating{false};

} // namespace

bool ModuleCarriesReporter(HMODULE module) {
    try {
        return ReadModuleKFData(module, TKFDataParts::WithoutLineTable).Version >= kKFDataVersion &&
               GetProcAddress(module, "ExceptionManager") != nullptr;
    } catch (const Exception&) {
        return false;
    }
}

void DecideDelegation() {
    HMODULE program = GetModuleHandleA(nullptr);
    delegating = program != ReporterModuleHandle() && ModuleCarriesReporter(program);
}

bool Delegating() {
    return delegating;
}

void* ProgramExportAddress(const char* name) {
    return delegating ? reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), name))
                      : nullptr;
}

std::vector<std::string> ImportTablesToPatch() {
    if (Delegating())
        return {ReporterModuleFileName()};
    return {ReporterModuleFileName(), "msvcrt.dll"};
}
