// The report put on the clipboard when the user asked for a copy.
#pragma once
#include <string>

// The text as plain text; raises an Exception when the clipboard cannot be had or written.
void CopyReportToClipboard(const std::string& report);
