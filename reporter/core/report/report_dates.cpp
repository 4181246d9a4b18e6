#include "reporter/core/report/report_dates.h"
#include "runtime/format.h"
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr int64_t kMillisecondsPerDay = 86400000;
// The years the system's time records cover.
constexpr int kFirstYear = 1601, kLastYear = 30827;

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsValidDate(const TCalendarTime& t) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.Year < kFirstYear || t.Year > kLastYear || t.Month < 1 || t.Month > 12 || t.Day < 1)
        return false;
    return t.Day <= kDays[t.Month - 1] + (t.Month == 2 && IsLeapYear(t.Year) ? 1 : 0);
}

// The day of the week from the date itself, so that a caller's stale DayOfWeek does not count
// (Sakamoto's method).
int DayOfWeek(const TCalendarTime& time) {
    if (!IsValidDate(time))
        return ((time.DayOfWeek % 7) + 7) % 7;
    static const int kMonthOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int year = time.Year - (time.Month < 3 ? 1 : 0);
    return (year + year / 4 - year / 100 + year / 400 + kMonthOffsets[time.Month - 1] + time.Day) %
           7;
}

// "%d day" or "%d days"; a zero count writes nothing unless `always`.
std::string Counted(int64_t count, const char* unit, bool always) {
    if (count == 0 && !always)
        return {};
    return Format("%d %s%s", int(count), unit, count > 1 ? "s" : "");
}

} // namespace

std::string FormatReportDate(const TCalendarTime& local, int zoneHours) {
    const char* month = local.Month >= 1 && local.Month <= 12 ? kMonthNames[local.Month - 1] : "";
    return Format("%s, %d %s %d %02d:%02d:%02d %c%02d00", kDayNames[DayOfWeek(local)], local.Day,
                  month, local.Year, local.Hour, local.Minute, local.Second,
                  zoneHours < 0 ? '-' : '+', std::abs(zoneHours));
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
