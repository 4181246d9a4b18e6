#include "reporter/core/report/report_clock.h"
#include <cmath>
#include <cstdint>

namespace {

constexpr int64_t kFileTimeTicksPerHour = 36000000000;

int64_t Ticks(const FILETIME& time) {
    return int64_t((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

} // namespace

TCalendarTime CalendarTime(const SYSTEMTIME& time) {
    return {time.wYear,   time.wMonth,  time.wDay,      time.wHour,
            time.wMinute, time.wSecond, time.wDayOfWeek};
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
    return FormatReportDate(CalendarTime(local), LocalZoneHours());
}
