// The crash reporter's own source files. Call stacks show no more than the module for code of
// theirs, so that reports point at the application, unless the crash reporter reports a
// failure of its own.
#pragma once
#include <string_view>

// Whether `unitName` (a file name with its extension; letter case aside) is one of them.
bool IsHiddenUnit(std::string_view unitName);

// While set, for the whole process, the crash reporter's own units are shown like any other.
void SetReportingOwnFailure(bool reporting);
bool ReportingOwnFailure();
