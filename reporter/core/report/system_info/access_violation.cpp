#include "reporter/core/report/system_info/access_violation.h"
#include "reporter/base/readable_memory.h"
#include "runtime/format.h"
#include "runtime/module_names.h"

namespace {

unsigned Hex(const void* address) {
    return static_cast<unsigned>(uintptr_t(address));
}

// The file name of the module whose image holds `address`, when that memory is in use.
std::string CommittedModuleName(const void* address) {
    MEMORY_BASIC_INFORMATION memory{};
    if (!VirtualQuery(address, &memory, sizeof memory) || memory.State != MEM_COMMIT ||
        !memory.AllocationBase)
        return {};
    return ModuleFileName(static_cast<HMODULE>(memory.AllocationBase));
}

} // namespace

std::string FormatAccessViolation(const void* address, const std::string& module, bool write,
                                  const void* accessed) {
    const char* operation = write ? "Write" : "Read";
    if (module.empty())
        return Format("Access violation at address %08X. %s of address %08X.", Hex(address),
                      operation, Hex(accessed));
    return Format("Access violation at address %08X in module '%s'. %s of address %08X.",
                  Hex(address), module.c_str(), operation, Hex(accessed));
}

std::string AccessViolationMessage(const EXCEPTION_RECORD* record) {
    if (!record || !IsReadableMemory(record, sizeof *record) ||
        record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2)
        return {};
    return FormatAccessViolation(record->ExceptionAddress,
                                 CommittedModuleName(record->ExceptionAddress),
                                 record->ExceptionInformation[0] != 0,
                                 reinterpret_cast<const void*>(record->ExceptionInformation[1]));
}
