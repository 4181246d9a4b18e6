#include "reporter/core/processing/presentation.h"
#include "reporter/core/interception/hand_over.h"
#include "reporter/core/processing/dialog_state.h"
#include "reporter/core/processing/message_box_dialog.h"
#include "reporter/core/processing/processing_state.h"
#include "reporter/core/processing/program_kind.h"
#include "reporter/core/processing/user_dialogs.h"
#include "runtime/exception.h"
#include <cstdio>

namespace {

void WriteToStandardOutput(const TVessarModuleOptionsEx& options, const std::string& report) {
    const std::string text = options.Text(kTextIntroduction) + "\r\n\r\n" + report;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout))
        throw Exception("The report could not be written to standard output.");
}

// While a dialog is up, the waiting program thread keeps the program's windows painted.
void ShowDialogs(const TErrorDialogInput& input) {
    ProcessingState().DialogShown = true;
    try {
        if (const TUserDialogs* dialogs = InstalledUserDialogs())
            dialogs->RunErrorDialog(input, true);
        else if (!ShowMessageBoxDialog(input))
            throw Exception("The message box could not be shown.");
    } catch (...) {
        ProcessingState().DialogShown = false;
        throw;
    }
    ProcessingState().DialogShown = false;
}

} // namespace

bool PresentsOnStandardOutput(int mode) {
    if (mode != kPresentWebPage && IsConsoleProgram())
        return true;
    return mode != kPresentConsoleOrDialog && IsWebProgram();
}

void PresentReport(const TErrorDialogInput& input, int mode) {
    if (PresentsOnStandardOutput(mode))
        WriteToStandardOutput(input.Options, input.Report);
    else if (DialogState().Kind != kNoDialog)
        ShowDialogs(input);
}
