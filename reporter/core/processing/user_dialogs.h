// The windows that put a report before the user live in a library of their own on this core; a
// program that carries that library installs them at its start. Without them the processing
// shows the message box for every dialog kind and asks for no reproduce steps.
#pragma once
#include "reporter/core/processing/error_dialog_input.h"

struct TUserDialogs {
    // Shows the dialogs of the dialog state's kind and leaves the user's decisions in that
    // state; `beep` sounds the error beep first. Raises what a dialog raised.
    void (*RunErrorDialog)(const TErrorDialogInput& input, bool beep) = nullptr;
    // Asks for the steps that led to the error and keeps them in the options' ReproduceText.
    void (*RunReproduceRequest)(TVessarModuleOptionsEx& options) = nullptr;
};

void InstallUserDialogs(const TUserDialogs& dialogs);
// Null until a dialogs library installed itself.
const TUserDialogs* InstalledUserDialogs();
