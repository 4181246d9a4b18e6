#include "reporter/diagnostics/lists/list_rows.h"
#include "reporter/base/path_names.h"
#include "reporter/diagnostics/lists/list_text.h"
#include "reporter/diagnostics/lists/process_priority.h"
#include "runtime/format.h"
#include <algorithm>

namespace {

std::vector<std::string> ModuleRow(const TVessarModuleInfo& module) {
    return {Format("%08X", unsigned(uintptr_t(module.Handle))),
            PrintableText(FileNameOf(module.FileName)),
            PrintableText(module.Description),
            PrintableText(module.Version),
            std::to_string(module.Size),
            FileDateText(module.LastModified),
            PrintableText(FolderText(module.FileName))};
}

std::vector<std::string> ProcessRow(const TVessarProcessInfo& process) {
    return {std::to_string(process.ProcessId),  PrintableText(FileNameOf(process.FileName)),
            PrintableText(process.Description), PrintableText(process.Version),
            KilobytesText(process.Memory),      PriorityName(process.PriorityClass),
            CountText(process.Threads),         PrintableText(FolderText(process.FileName))};
}

} // namespace

TListRows ModuleRows(const TLoadedModules& modules) {
    TListRows rows;
    for (const TModuleRef& module : modules)
        rows.push_back(ModuleRow(*module));
    return rows;
}

TListRows ProcessRows(const TVessarProcessesList& processes) {
    TListRows rows;
    for (const TVessarProcessInfo& process : processes)
        rows.push_back(ProcessRow(process));
    return rows;
}
