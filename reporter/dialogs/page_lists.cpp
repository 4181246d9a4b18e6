#include "reporter/dialogs/page_lists.h"
#include "reporter/core/report/call_stack_rows.h"
#include "reporter/diagnostics/lists/list_text.h"
#include "reporter/diagnostics/lists/module_type.h"
#include <cctype>
#include <cstdlib>

namespace {

std::vector<TListColumn> Columns(const TVessarModuleOptions& options, int firstText,
                                 const char* keyPrefix, const std::vector<int>& widths,
                                 const std::vector<int>& keyNumbers,
                                 const std::vector<bool>& rightAligned) {
    std::vector<TListColumn> columns;
    for (size_t i = 0; i < widths.size(); ++i)
        columns.push_back({options.Text(firstText + int(i)),
                           keyPrefix + std::to_string(keyNumbers[i]), widths[i], rightAligned[i]});
    return columns;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

int IconOfFile(const std::string& name) {
    const std::string upper = Upper(name);
    const size_t dot = upper.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : upper.substr(dot);
    if (extension == ".BPL" || extension == ".DPL")
        return kIconPackage;
    return extension == ".EXE" ? kIconProgram : kIconLibrary;
}

int IconOfEntry(const TVessarDebugInfo& entry) {
    if (entry.Detail == kDetailLine)
        return kIconSource;
    if (!entry.Module)
        return kIconLibrary;
    const uint8_t type = entry.Module->ModuleType != kModuleNotDetermined
                             ? entry.Module->ModuleType
                             : uint8_t(ModuleTypeOf(entry.Module->Handle));
    switch (type) {
    case kModuleProgram:
        return kIconProgram;
    case kModulePackage:
        return kIconPackage;
    default:
        return kIconLibrary;
    }
}

std::string ThreadHeader(const TVessarModuleOptions& options, const TReportData& data,
                         const TVessarDebugInfo& entry) {
    const TReportThread thread = ReportThreadOf(data, entry.ThreadId);
    const int kind = !entry.RunningThread ? kTextStackCallingThread
                     : entry.ErrorAddress ? kTextStackExceptionThread
                                          : kTextStackRunningThread;
    const long id = long(int32_t(thread.Id)) < 0 ? 0 : long(thread.Id);
    std::string text = options.Text(kind) + ": " + options.Text(kTextStackThreadId) + "=" +
                       std::to_string(id) + "; " + options.Text(kTextStackThreadPriority) + "=" +
                       (thread.PriorityKnown ? std::to_string(thread.Priority) : "??");
    if (!thread.ClassName.empty())
        text += "; " + options.Text(kTextStackThreadClass) + "=" + thread.ClassName;
    if (thread.Main)
        text += "; [" + options.Text(kTextStackMain) + "]";
    return text;
}

} // namespace

std::vector<size_t> VisibleRows(const std::vector<TListRow>& rows,
                                const std::vector<bool>& folded) {
    std::vector<size_t> shown;
    bool hiding = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Header || rows[i].Spacer)
            hiding = rows[i].Header && i < folded.size() && folded[i];
        else if (hiding)
            continue;
        shown.push_back(i);
    }
    return shown;
}

std::string ShortVersion(const std::string& version) {
    const size_t first = version.find('.');
    const size_t second = first == std::string::npos ? first : version.find('.', first + 1);
    return second == std::string::npos ? version : version.substr(0, second + 1) + "x";
}

TListContent CallStackList(const TVessarModuleOptions& options, const TReportData& data) {
    TListContent list;
    list.SourceRows = true;
    list.Columns = Columns(options, kTextStackAddress, "Col", {89, 92, 126, 126, 200, 61},
                           {0, 1, 2, 3, 4, 5}, {false, false, false, false, false, true});
    const TVessarDebugInfo* previous = nullptr;
    for (const TVessarDebugInfo* entry : ShownStackEntries(data, options.Stored().StackFlags)) {
        if (StartsStackBlock(previous, *entry)) {
            if (previous && entry->RunningThread)
                list.Rows.push_back({{""}, kIconLibrary, false, true});
            list.Rows.push_back({{ThreadHeader(options, data, *entry)}, kIconLibrary, true, false});
        }
        list.Rows.push_back({StackEntryCells(*entry), IconOfEntry(*entry), false, false,
                             entry->Module ? entry->Module->KFDataTimeStamp : 0});
        previous = entry;
    }
    return list;
}

TListContent ModulesList(const TVessarModuleOptions& options, const TReportData& data) {
    TListContent list;
    // The Path column's width is kept under the key after the Modified column's.
    list.Columns = Columns(options, kTextModulesHandle, "ColMod", {80, 96, 175, 50, 54, 80, 712},
                           {0, 1, 2, 3, 4, 6, 5}, {false, false, false, true, true, false, false});
    for (const std::vector<std::string>& row : data.Modules) {
        if (row.size() < 7)
            continue;
        list.Rows.push_back(
            {{row[0], row[1], row[2], ShortVersion(row[3]),
              KilobytesText(std::strtoull(row[4].c_str(), nullptr, 10)), row[5], row[6]},
             IconOfFile(row[1]),
             false,
             false});
    }
    return list;
}

TListContent ProcessesList(const TVessarModuleOptions& options, const TReportData& data) {
    TListContent list;
    list.Columns =
        Columns(options, kTextProcessesId, "ColPro", {48, 134, 232, 56, 57, 47, 52, 330},
                {0, 1, 2, 3, 4, 5, 6, 7}, {false, false, false, false, false, false, false, false});
    for (std::vector<std::string> row : data.Processes) {
        if (row.size() < 8)
            continue;
        row[3] = ShortVersion(row[3]);
        list.Rows.push_back({row, IconOfFile(row[1]), false, false});
    }
    return list;
}
