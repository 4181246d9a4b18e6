// How the application's values are written.
#pragma once
#include <string>
#include <windows.h>

// The parameters of a command line: what follows the program's name (quoted or not), trimmed.
std::string CommandLineParameters(const std::string& commandLine);

// A moment given as days since 30 December 1899 (the fraction is the time of day) as a calendar
// time; false when it lies outside what the system can express.
bool DaysToSystemTime(double days, SYSTEMTIME& time);

// The build time stamp `utcDays` in the report's date format in a zone `zoneHours` ahead of
// universal time; empty for no time stamp (0).
std::string CompilationDateText(double utcDays, int zoneHours);
