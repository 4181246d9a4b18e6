// The message box: dialog kind 1, and the stand-in for a dialog window that cannot be shown.
#pragma once
#include "reporter/core/processing/error_dialog_input.h"

// Shows the message and marks the dialog state shown and done (no copy to the clipboard: the
// box has no such choice). False when the box could not be shown.
bool ShowMessageBoxDialog(const TErrorDialogInput& input);
