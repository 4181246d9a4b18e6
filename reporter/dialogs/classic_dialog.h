// The classic error-report dialog: one page that asks whether to send the report, what the user
// was doing and the user's e-mail address, with a link to the detailed dialog.
#pragma once
#include "reporter/core/processing/error_dialog_input.h"

// Shows the dialog until the user closes it; the choices go to the dialog state, the options,
// the report text (the e-mail address) and the state file. Raises when the window could not
// be made.
void ShowClassicDialog(const TErrorDialogInput& input);
