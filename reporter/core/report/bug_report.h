// The bug report's text: what is shown, logged and sent for one exception.
#pragma once
#include "reporter/core/options/module_options.h"
#include "reporter/core/report/report_data.h"
#include <string>
#include <vector>

// The report's first line is this name and the crash reporter's version; the log's XML form
// takes the version from it.
constexpr char kReportHeaderName[] = "Vessarion ";

// The groups added to the general part after the report is built; their keys stay fixed
// whether or not the other is there.
constexpr int kCustomDataGroup = 8;
constexpr int kReproduceGroup = 9;

// The header line and an empty line, the general section (ReportFields), the call stack
// (StackFlags), the modules and processes (LogFlags 0x10), the assembler listing and the CPU
// state (LogFlags 0x20). Lines end in CR LF.
std::string BuildReport(const TVessarModuleOptions& options, const TReportData& data);

struct TReportField {
    std::string Label;
    std::string Value;
};

// `report` with group `group`, titled `title`, added at the end of its general part; unchanged
// without fields.
std::string WithSection(const std::string& report, int group, const std::string& title,
                        const std::vector<TReportField>& fields);

// `report` with the custom data: "name=value" lines, each one field. Unchanged when there are
// none or ReportFields bit 47 is off.
std::string WithCustomData(const TVessarModuleOptions& options, const std::string& report,
                           const std::vector<std::string>& lines);

// `report` with what the user wrote on how to reproduce the error.
std::string WithReproduceText(const TVessarModuleOptions& options, const std::string& report,
                              const std::string& text);
