#include "reporter/core/report/log_operations.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/report/log_file.h"
#include "runtime/text.h"
#include <cstdlib>
#include <windows.h>

namespace {

constexpr char kErrorIdKey[] = "2.7";
constexpr char kCountKey[] = "2.8";
constexpr char kCountLabel[] = "Count";
constexpr char kVersionKey[] = "1.3";

// A count that is no number stands for the one report that holds it.
int Count(const std::string& text) {
    const std::string number = Trim(text);
    char* end = nullptr;
    const long count = std::strtol(number.c_str(), &end, 10);
    return end != number.c_str() && *end == '\0' ? int(count) : 1;
}

std::string LastVersion(const std::string& fileName) {
    const TLogFile log(fileName, true);
    return log.FieldValue(kVersionKey, log.Count() - 1);
}

} // namespace

bool CountDuplicateReport(const TVessarModuleOptions& options, const std::string& errorId) {
    if ((options.Stored().LogFlags & LogFlag::CountDuplicates) == 0)
        return false;
    TLogFile log(options.LogFileName());
    const int index = log.Find({kErrorIdKey}, {errorId});
    if (index < 0)
        return false;
    const int count = Count(log.FieldValue(kCountKey, index));
    log.SetFieldValue(kCountKey, std::to_string(count + 1), index, kCountLabel);
    log.Save();
    return true;
}

bool DeleteLogOfOtherVersion(const TVessarModuleOptions& options, const std::string& version) {
    if ((options.Stored().LogFlags & LogFlag::DeleteOnOtherVersion) == 0)
        return false;
    const std::string fileName = options.LogFileName();
    const std::string logged = LastVersion(fileName);
    return !logged.empty() && logged != version && DeleteFileA(fileName.c_str());
}

std::string SaveReportToLog(const TVessarModuleOptions& options, const std::string& report,
                            bool duplicate) {
    if (duplicate)
        return report;
    TLogFile log(options.LogFileName());
    log.Add(report, options.Stored().LogMaxReports);
    if (options.Stored().SaveLog)
        log.Save();
    return (options.Stored().SendFlags & SendFlag::WholeLog) != 0 ? log.Text() : report;
}
