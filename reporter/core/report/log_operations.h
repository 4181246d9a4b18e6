// What the exception processing does with the log file of the current options (the file
// their LogFileName names). Each raises Exception when the log cannot be written.
#pragma once
#include "reporter/core/options/module_options.h"
#include <string>

// With LogFlags 0x01: whether the log holds a report with error ID `errorId` (field 2.7). When
// it does, that report's count (2.8, 1 when not a number) goes up by one and the log is saved.
bool CountDuplicateReport(const TVessarModuleOptions& options, const std::string& errorId);

// With LogFlags 0x04: deletes the log when its last report names an application version (1.3)
// other than `version`. True when it was deleted.
bool DeleteLogOfOtherVersion(const TVessarModuleOptions& options, const std::string& version);

// Adds `report` to the log unless it is a `duplicate`, keeping at most LogMaxReports reports,
// and writes the log when SaveLog is set. Returns the text to send: the whole log with
// SendFlags 0x0004, else `report`.
std::string SaveReportToLog(const TVessarModuleOptions& options, const std::string& report,
                            bool duplicate);
