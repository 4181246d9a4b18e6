#include "reporter/diagnostics/list_rows.h"
#include "reporter/core/path_names.h"
#include "reporter/diagnostics/list_text.h"
#include "reporter/diagnostics/process_priority.h"
#include "runtime/format.h"
#include <algorithm>

namespace {

// Names and version texts come from files and other processes and may hold anything.
std::string Printable(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return uint8_t(c) < 32 || c == 127; }, '?');
    return text;
}

std::vector<std::string> ModuleRow(const TVessarModuleInfo& module) {
    return {Format("%08X", unsigned(uintptr_t(module.Handle))),
            Printable(FileNameOf(module.FileName)),
            Printable(module.Description),
            Printable(module.Version),
            std::to_string(module.Size),
            FileDateText(module.LastModified),
            Printable(FolderText(module.FileName))};
}

std::vector<std::string> ProcessRow(const TVessarProcessInfo& process) {
    return {std::to_string(process.ProcessId), Printable(FileNameOf(process.FileName)),
            Printable(process.Description),    Printable(process.Version),
            KilobytesText(process.Memory),     PriorityName(process.PriorityClass),
            CountText(process.Threads),        Printable(FolderText(process.FileName))};
}

} // namespace

TListRows ModuleRows(const TLoadedModules& modules) {
    TListRows rows;
    for (const TVessarModuleInfo* module : modules)
        rows.push_back(ModuleRow(*module));
    return rows;
}

TListRows ProcessRows(const TVessarProcessesList& processes) {
    TListRows rows;
    for (const TVessarProcessInfo& process : processes)
        rows.push_back(ProcessRow(process));
    return rows;
}
