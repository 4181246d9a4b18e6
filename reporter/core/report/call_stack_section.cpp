// The call-stack section: one table, its rows in blocks per thread and kind of stack.
#include "reporter/core/report/call_stack_rows.h"
#include "reporter/core/report/report_sections.h"
#include "reporter/core/report/text_table.h"

namespace {

constexpr size_t kAddressWidth = 8;

std::string BlockKind(const TVessarModuleOptions& options, const TVessarDebugInfo& entry) {
    if (!entry.RunningThread)
        return options.Text(kTextStackCallingThread);
    return entry.ErrorAddress ? "*" + options.Text(kTextStackExceptionThread)
                              : options.Text(kTextStackRunningThread);
}

std::string ThreadDescription(const TVessarModuleOptions& options, const TReportData& data,
                              const TVessarDebugInfo& entry) {
    const TReportThread thread = ReportThreadOf(data, entry.ThreadId);
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
    for (const TVessarDebugInfo* entry : ShownStackEntries(data, options.Stored().StackFlags)) {
        TStackRow row{StackEntryCells(*entry), {}, entry->RunningThread};
        if (StartsStackBlock(previous, *entry))
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
