// Dates and time spans as the report writes them: English names, whole-hour zones. Plain C++:
// the system's clock and zone are report_clock.h's.
#pragma once
#include <string>

// A date and time of day, as the system's time record holds them.
struct TCalendarTime {
    int Year = 0;
    int Month = 0; // 1 to 12
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int DayOfWeek = 0; // 0 Sunday; used only when the date itself is no valid date
};

// "Tue, 4 Mar 2025 09:05:07 +0100": the local time `local` in a zone `zoneHours` hours ahead
// of universal time (negative behind it).
std::string FormatReportDate(const TCalendarTime& local, int zoneHours);

// "1 day, 1 hour, 1 minute, 1 second": a span of `days` days; units without a count are left
// out except seconds, which are always written.
std::string FormatDuration(double days);
