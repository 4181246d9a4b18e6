// The sections of a bug report, each laid out from the gathered values and the options.
#pragma once
#include "reporter/core/options/module_options.h"
#include "reporter/core/report/report_data.h"
#include <string>

// The numbered groups 1 to 7; lines end in CR LF but the last. Empty when no field is written.
std::string GeneralSection(const TVessarModuleOptions& options, const TReportData& data);
// The sections below end with an empty line, the CPU section with its last line's CR LF.
std::string CallStackSection(const TVessarModuleOptions& options, const TReportData& data);
std::string ModulesSection(const TVessarModuleOptions& options, const TReportData& data);
std::string ProcessesSection(const TVessarModuleOptions& options, const TReportData& data);
std::string AssemblerSection(const TVessarModuleOptions& options, const TReportData& data);
std::string CpuSection(const TVessarModuleOptions& options, const TReportData& data);
