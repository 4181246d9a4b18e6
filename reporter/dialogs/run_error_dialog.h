// Puts a report before the user in the dialog of the dialog state's kind, and collects the
// user's decisions into that state.
#pragma once
#include "reporter/core/processing/error_dialog_input.h"

// Shows the dialogs of the state's kind until one closes normally (the classic dialog may hand
// over to the detailed one); `beep` sounds the error beep first unless the kind is the message
// box. When no dialog window can be shown the message box takes its place; when nothing can be
// shown at all, the state is marked failed. Raises what a dialog raised.
void RunErrorDialog(const TErrorDialogInput& input, bool beep);
