// How a report is put before the user.
#pragma once
#include "reporter/core/options/module_options_ex.h"
#include <string>

// Whether a report in presentation `mode` goes to standard output.
bool PresentsOnStandardOutput(int mode);

// Standard output for console programs (mode 0 and 1) and web programs (mode 0 and 2, until
// web pages are made), else the dialog of `dialogKind`. Raises what the presentation raised.
void PresentReport(const TVessarModuleOptionsEx& options, int mode, int dialogKind,
                   const std::string& report, const std::string& message);
