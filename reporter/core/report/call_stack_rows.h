// The rows of a call stack as the report and the dialog's call-stack page show them: which
// entries, their cells, where a thread's block starts and what is known of its thread.
#pragma once
#include "reporter/core/report/report_data.h"
#include <string>
#include <vector>

// The entries StackFlags shows, and the exception's own address however little is known of it.
std::vector<const TVessarDebugInfo*> ShownStackEntries(const TReportData& data, uint8_t stackFlags);
// Address, module, unit, class, procedure, line with its offset in brackets.
std::vector<std::string> StackEntryCells(const TVessarDebugInfo& entry);
// A block starts at the first entry, at a change of thread or of kind of stack, and at the
// exception's address.
bool StartsStackBlock(const TVessarDebugInfo* previous, const TVessarDebugInfo& entry);
// The thread of the report with this id; only the id when the report has none.
TReportThread ReportThreadOf(const TReportData& data, DWORD id);
