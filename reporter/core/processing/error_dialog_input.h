// What the dialogs of one report are shown from, and what they hand back to the processing
// besides the dialog state.
#pragma once
#include "reporter/core/options/module_options_ex.h"
#include "reporter/core/report/report_data.h"
#include <functional>
#include <string>

struct TErrorDialogInput {
    // The current options; the checkbox choices are stored into them.
    TVessarModuleOptionsEx& Options;
    const TReportData& Data;
    // The whole report text; the classic dialog writes the user's e-mail address into it.
    std::string& Report;
    // The message shown: a filter's own message, else the exception's.
    std::string Message;
    // Exceptions reported so far in this run, this one included.
    int ExceptionCount = 0;
    // This report is not to be sent whatever the user says (a duplicate).
    bool SendingBlocked = false;
    // The Help button's event; true when its handler asks the dialog to close.
    std::function<bool()> HelpClicked;
    // Announces that the user asked to end the program; false when a listener withdrew it.
    std::function<bool()> TerminateConfirmed;
};
