// How a report is put before the user.
#pragma once
#include "reporter/core/processing/error_dialog_input.h"

// Whether a report in presentation `mode` goes to standard output.
bool PresentsOnStandardOutput(int mode);

// Standard output for console programs (mode 0 and 1) and web programs (mode 0 and 2, until
// web pages are made), else the dialogs of the dialog state's kind, with the error beep. Raises
// what the presentation raised.
void PresentReport(const TErrorDialogInput& input, int mode);
