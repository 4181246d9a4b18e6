// Dates and time spans as the report writes them: English names, whole-hour zones.
#pragma once
#include <string>
#include <windows.h>

// "Tue, 4 Mar 2025 09:05:07 +0100": the local time `local` in a zone `zoneHours` hours ahead
// of universal time (negative behind it).
std::string FormatReportDate(const SYSTEMTIME& local, int zoneHours);

// The machine's difference between local and universal time now, rounded to whole hours.
int LocalZoneHours();

// `local` with the machine's zone as it is now.
std::string ReportDate(const SYSTEMTIME& local);

// "1 day, 1 hour, 1 minute, 1 second": a span of `days` days; units without a count are left
// out except seconds, which are always written.
std::string FormatDuration(double days);
