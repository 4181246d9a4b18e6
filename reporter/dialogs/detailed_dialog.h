// The detailed exception dialog: the message, the buttons and the user's choices, and in its
// detailed mode the report's sections on pages behind tabs.
#pragma once
#include "reporter/core/processing/error_dialog_input.h"

// Shows the dialog until the user closes it; the choices go to the dialog state and the
// options. Raises when the window could not be made.
void ShowDetailedDialog(const TErrorDialogInput& input);
