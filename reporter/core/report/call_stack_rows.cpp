#include "reporter/core/report/call_stack_rows.h"
#include "reporter/base/path_names.h"
#include "reporter/diagnostics/stack/stack_entry_shown.h"
#include "runtime/format.h"
#include <algorithm>

namespace {

// The exception's own address is where the report starts, however little is known of it.
bool Shown(const TVessarDebugInfo& entry, uint8_t stackFlags) {
    return entry.ErrorAddress || StackEntryShown(entry, stackFlags);
}

} // namespace

std::vector<const TVessarDebugInfo*> ShownStackEntries(const TReportData& data,
                                                       uint8_t stackFlags) {
    std::vector<const TVessarDebugInfo*> entries;
    for (size_t i = 0; data.Stack && i < data.Stack->Count(); ++i)
        if (Shown((*data.Stack)[i], stackFlags))
            entries.push_back(&(*data.Stack)[i]);
    return entries;
}

std::vector<std::string> StackEntryCells(const TVessarDebugInfo& entry) {
    const bool hasModule = entry.Module && entry.Detail != kDetailNothing;
    return {Format("%08X", entry.Addr),
            hasModule ? FileNameOf(entry.Module->FileName) : std::string(),
            entry.Unit,
            entry.ClassName,
            entry.Procedure,
            entry.Line ? Format("%d[%d]", int(entry.Line), int(entry.ProcLine)) : std::string()};
}

bool StartsStackBlock(const TVessarDebugInfo* previous, const TVessarDebugInfo& entry) {
    return !previous || previous->ThreadId != entry.ThreadId ||
           previous->RunningThread != entry.RunningThread || entry.ErrorAddress;
}

TReportThread ReportThreadOf(const TReportData& data, DWORD id) {
    const auto found = std::find_if(data.Threads.begin(), data.Threads.end(),
                                    [id](const TReportThread& thread) { return thread.Id == id; });
    if (found != data.Threads.end())
        return *found;
    TReportThread unknown;
    unknown.Id = id;
    return unknown;
}
