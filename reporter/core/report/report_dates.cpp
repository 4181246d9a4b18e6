#include "reporter/core/report/report_dates.h"
#include "runtime/format.h"
#include <cmath>
#include <cstdlib>

namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr int64_t kFileTimeTicksPerHour = 36000000000;
constexpr int64_t kMillisecondsPerDay = 86400000;

// The day of the week from the date itself, so that a caller's stale wDayOfWeek does not count.
int DayOfWeek(const SYSTEMTIME& time) {
    FILETIME fileTime{};
    SYSTEMTIME normalised{};
    if (!SystemTimeToFileTime(&time, &fileTime) || !FileTimeToSystemTime(&fileTime, &normalised))
        return time.wDayOfWeek % 7;
    return normalised.wDayOfWeek;
}

int64_t Ticks(const FILETIME& time) {
    return int64_t((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

// "%d day" or "%d days"; a zero count writes nothing unless `always`.
std::string Counted(int64_t count, const char* unit, bool always) {
    if (count == 0 && !always)
        return {};
    return Format("%d %s%s", int(count), unit, count > 1 ? "s" : "");
}

} // namespace

std::string FormatReportDate(const SYSTEMTIME& local, int zoneHours) {
    const char* month =
        local.wMonth >= 1 && local.wMonth <= 12 ? kMonthNames[local.wMonth - 1] : "";
    return Format("%s, %d %s %d %02d:%02d:%02d %c%02d00", kDayNames[DayOfWeek(local)], local.wDay,
                  month, local.wYear, local.wHour, local.wMinute, local.wSecond,
                  zoneHours < 0 ? '-' : '+', std::abs(zoneHours));
}

int LocalZoneHours() {
    FILETIME universal{};
    FILETIME local{};
    GetSystemTimeAsFileTime(&universal);
    if (!FileTimeToLocalFileTime(&universal, &local))
        return 0;
    return int(std::lround(double(Ticks(local) - Ticks(universal)) / kFileTimeTicksPerHour));
}

std::string ReportDate(const SYSTEMTIME& local) {
    return FormatReportDate(local, LocalZoneHours());
}

std::string FormatDuration(double days) {
    // Whole milliseconds first: truncating each unit of a fraction of a day would turn
    // 1 second into 0.99999 of one.
    const int64_t milliseconds = std::llround(days * kMillisecondsPerDay);
    const int64_t seconds = milliseconds / 1000;
    std::string text;
    for (const std::string& part :
         {Counted(seconds / 86400, "day", false), Counted(seconds / 3600 % 24, "hour", false),
          Counted(seconds / 60 % 60, "minute", false)})
        if (!part.empty())
            text += part + ", ";
    return text + Counted(seconds % 60, "second", true);
}
