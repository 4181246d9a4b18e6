#include "reporter/core/delegation.h"
#include "reporter/core/module_kfdata.h"
#include "reporter/core/reporter_module.h"
#include <atomic>

namespace {

std::atomic<bool> delegating{false};

bool ProgramCarriesReporter(HMODULE program) {
    try {
        return ReadModuleKFData(program).Version >= kKFDataVersion &&
               GetProcAddress(program, "ExceptionManager") != nullptr;
    } catch (const Exception&) {
        return false;
    }
}

} // namespace

void DecideDelegation() {
    HMODULE program = GetModuleHandleA(nullptr);
    delegating = program != ReporterModuleHandle() && ProgramCarriesReporter(program);
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
