#include "reporter/core/report/system_info/application_text.h"
#include "reporter/core/report/report_clock.h"
#include "runtime/text.h"
#include <cmath>

namespace {

constexpr double kDaysFrom1601To1899 = 109205; // 1 January 1601 to 30 December 1899
constexpr double kFileTimeTicksPerDay = 864000000000.0;

} // namespace

// The program's name is measured as written on the command line: a program started by a short
// or relative name has a module path of another length.
std::string CommandLineParameters(const std::string& commandLine) {
    std::string text = Trim(commandLine);
    size_t nameLength = text.find_first_of(" \t");
    if (!text.empty() && text[0] == '"') {
        text.erase(0, 1);
        nameLength = text.find('"');
        if (nameLength != std::string::npos)
            text.erase(nameLength, 1);
    }
    return nameLength < text.size() ? Trim(text.substr(nameLength)) : std::string();
}

bool DaysToSystemTime(double days, SYSTEMTIME& time) {
    const double ticks = std::round((days + kDaysFrom1601To1899) * kFileTimeTicksPerDay);
    if (!(ticks >= 0 && ticks < 0x7FFFFFFFFFFFFFFF))
        return false;
    const uint64_t value = static_cast<uint64_t>(ticks);
    const FILETIME fileTime{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
    return FileTimeToSystemTime(&fileTime, &time);
}

std::string CompilationDateText(double utcDays, int zoneHours) {
    SYSTEMTIME local{};
    if (utcDays == 0 || !DaysToSystemTime(utcDays + zoneHours / 24.0, local))
        return {};
    return FormatReportDate(CalendarTime(local), zoneHours);
}
