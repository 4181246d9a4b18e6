// The modules and processes sections: one table each, or their titles alone.
#include "reporter/core/options/option_flags.h"
#include "reporter/core/report/report_sections.h"
#include "reporter/core/report/text_table.h"
#include "reporter/diagnostics/lists/list_text.h"
#include <algorithm>

namespace {

constexpr size_t kHandleWidth = 8;
constexpr size_t kNoMinimum = 0;

std::vector<std::string> Labels(const TVessarModuleOptions& options, TTextId first, TTextId last) {
    std::vector<std::string> labels;
    for (int id = first; id <= last; ++id)
        labels.push_back(options.Text(id));
    return labels;
}

// Numbers never hold unprintable characters, so every cell is cleaned alike.
std::vector<std::vector<std::string>> PrintableRows(std::vector<std::vector<std::string>> rows) {
    for (auto& row : rows)
        std::transform(row.begin(), row.end(), row.begin(), PrintableText);
    return rows;
}

std::string TableSection(const std::string& title, TTextTable& table,
                         const std::vector<std::vector<std::string>>& rows) {
    for (const auto& row : rows)
        table.Fit(row);
    std::string text = SectionTitle(title) + table.Header();
    for (const auto& row : rows)
        text += table.Row(row);
    return text + table.DashLine() + "\r\n";
}

// The handle is written with leading zeros over its whole column.
std::vector<std::vector<std::string>> ZeroPaddedHandles(std::vector<std::vector<std::string>> rows,
                                                        size_t width) {
    for (auto& row : rows)
        if (!row.empty() && row[0].size() < width)
            row[0].insert(0, width - row[0].size(), '0');
    return rows;
}

bool ListsWanted(const TVessarModuleOptions& options) {
    return (options.Stored().LogFlags & LogFlag::ModulesAndProcesses) != 0;
}

} // namespace

std::string ModulesSection(const TVessarModuleOptions& options, const TReportData& data) {
    if (!ListsWanted(options))
        return ShortSection(options.Text(kTextTitleModules));
    TTextTable table(Labels(options, kTextModulesHandle, kTextModulesPath), kHandleWidth);
    const auto rows = PrintableRows(data.Modules);
    for (const auto& row : rows)
        table.Fit(row);
    return TableSection(options.Text(kTextTitleModules), table,
                        ZeroPaddedHandles(rows, table.ColumnWidth(0)));
}

std::string ProcessesSection(const TVessarModuleOptions& options, const TReportData& data) {
    if (!ListsWanted(options))
        return ShortSection(options.Text(kTextTitleProcesses));
    TTextTable table(Labels(options, kTextProcessesId, kTextProcessesPath), kNoMinimum);
    return TableSection(options.Text(kTextTitleProcesses), table, PrintableRows(data.Processes));
}
