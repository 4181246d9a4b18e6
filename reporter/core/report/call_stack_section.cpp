// The call-stack section: one table, its rows in blocks per thread and kind of stack.
#include "reporter/base/path_names.h"
#include "reporter/core/report/report_sections.h"
#include "reporter/core/report/text_table.h"
#include "reporter/diagnostics/stack/stack_entry_shown.h"
#include "runtime/format.h"
#include <algorithm>

namespace {

constexpr size_t kAddressWidth = 8;

// The exception's own address is where the report starts, however little is known of it.
bool Shown(const TVessarDebugInfo& entry, uint8_t stackFlags) {
    return entry.ErrorAddress || StackEntryShown(entry, stackFlags);
}

std::vector<const TVessarDebugInfo*> ShownEntries(const TReportData& data, uint8_t stackFlags) {
    std::vector<const TVessarDebugInfo*> entries;
    for (size_t i = 0; data.Stack && i < data.Stack->Count(); ++i)
        if (Shown((*data.Stack)[i], stackFlags))
            entries.push_back(&(*data.Stack)[i]);
    return entries;
}

std::vector<std::string> EntryCells(const TVessarDebugInfo& entry) {
    const bool hasModule = entry.Module && entry.Detail != kDetailNothing;
    return {Format("%08X", entry.Addr),
            hasModule ? FileNameOf(entry.Module->FileName) : std::string(),
            entry.Unit,
            entry.ClassName,
            entry.Procedure,
            entry.Line ? Format("%d[%d]", int(entry.Line), int(entry.ProcLine)) : std::string()};
}

bool StartsBlock(const TVessarDebugInfo* previous, const TVessarDebugInfo& entry) {
    return !previous || previous->ThreadId != entry.ThreadId ||
           previous->RunningThread != entry.RunningThread || entry.ErrorAddress;
}

TReportThread ThreadOf(const TReportData& data, DWORD id) {
    const auto found = std::find_if(data.Threads.begin(), data.Threads.end(),
                                    [id](const TReportThread& thread) { return thread.Id == id; });
    if (found != data.Threads.end())
        return *found;
    TReportThread unknown;
    unknown.Id = id;
    return unknown;
}

std::string BlockKind(const TVessarModuleOptions& options, const TVessarDebugInfo& entry) {
    if (!entry.RunningThread)
        return options.Text(kTextStackCallingThread);
    return entry.ErrorAddress ? "*" + options.Text(kTextStackExceptionThread)
                              : options.Text(kTextStackRunningThread);
}

std::string ThreadDescription(const TVessarModuleOptions& options, const TReportData& data,
                              const TVessarDebugInfo& entry) {
    const TReportThread thread = ThreadOf(data, entry.ThreadId);
    std::string text = BlockKind(options, entry) + ": " + options.Text(kTextStackThreadId) + "=" +
                       std::to_string(thread.Id) + "; " + options.Text(kTextStackThreadPriority) +
                       "=" + (thread.PriorityKnown ? std::to_string(thread.Priority) : "??");
    if (!thread.ClassName.empty())
        text += "; " + options.Text(kTextStackThreadClass) + "=" + thread.ClassName;
    if (thread.Main)
        text += "; [" + options.Text(kTextStackMain) + "]";
    if (!thread.Name.empty())
        text += " (" + thread.Name + ")";
    return text;
}

// One row per entry, with the header of the block that it starts.
struct TStackRow {
    std::vector<std::string> Cells;
    std::string Block; // the thread description when the entry starts a block
    bool LiveStack = false;
};

std::string BlockHeader(const TTextTable& table, const TStackRow& row, bool first) {
    std::string header;
    if (!first)
        header += table.SeparatorRow();
    if (!first && row.LiveStack)
        header += table.WholeRow("");
    return header + table.WholeRow(row.Block) + table.SeparatorRow();
}

} // namespace

std::string CallStackSection(const TVessarModuleOptions& options, const TReportData& data) {
    TTextTable table({options.Text(kTextStackAddress), options.Text(kTextStackModule),
                      options.Text(kTextStackUnit), options.Text(kTextStackClass),
                      options.Text(kTextStackProcedure), options.Text(kTextStackLine)},
                     kAddressWidth);
    std::vector<TStackRow> rows;
    const TVessarDebugInfo* previous = nullptr;
    for (const TVessarDebugInfo* entry : ShownEntries(data, options.Stored().StackFlags)) {
        TStackRow row{EntryCells(*entry), {}, entry->RunningThread};
        if (StartsBlock(previous, *entry))
            row.Block = ThreadDescription(options, data, *entry);
        table.Fit(row.Cells);
        rows.push_back(std::move(row));
        previous = entry;
    }
    // A long thread description widens the table rather than sticking out of it.
    for (const TStackRow& row : rows)
        table.FitWholeRow(row.Block);
    std::string text = SectionTitle(options.Text(kTextTitleCallStack)) + table.Header();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].Block.empty())
            text += BlockHeader(table, rows[i], i == 0);
        text += table.Row(rows[i].Cells);
    }
    return text + table.DashLine() + "\r\n";
}
