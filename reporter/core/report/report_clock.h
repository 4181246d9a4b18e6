// The report's dates from the system's clock and zone.
#pragma once
#include "reporter/core/report/report_dates.h"
#include <string>
#include <windows.h>

TCalendarTime CalendarTime(const SYSTEMTIME& time);

// The machine's difference between local and universal time now, rounded to whole hours.
int LocalZoneHours();

// `local` with the machine's zone as it is now.
std::string ReportDate(const SYSTEMTIME& local);
