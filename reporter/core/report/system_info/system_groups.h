// The groups of system values, each read on its own.
#pragma once
#include "reporter/base/windows_version.h"
#include "reporter/core/report/system_info/network_text.h"
#include "reporter/core/report/system_info/system_fields.h"

using TReportFields = std::map<std::string, std::string>;

// 1.1, 1.4, 1.5 and 1.6.
void AddApplicationFields(TReportFields& fields, const TSystemFieldsContext& context);
// 3.1, 3.2, 3.4 and 3.5.
void AddUserFields(TReportFields& fields, const TWindowsVersion& version);
// 5.1, 5.2, 5.7, 5.8 and 5.9: name, memory size, processor and display, which stay the same
// while the process runs.
void AddFixedComputerFields(TReportFields& fields);
// 5.3 to 5.6: free memory and disk space, time since the system started.
void AddChangingComputerFields(TReportFields& fields);
// 5.10: the first display adapter with its driver version and memory.
std::string VideoCardValue(const TWindowsVersion& version);
// 5.11: the default printer's driver and its version.
std::string PrinterValue(const TWindowsVersion& version);
// 6.1 to 6.5.
void AddOperatingSystemFields(TReportFields& fields, const TWindowsVersion& version);
// The network adapters in the system's order; none when the IP helper is missing or fails.
std::vector<TAdapterAddresses> ReadAdapters();
