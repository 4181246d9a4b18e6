// Hands the dialogs to the core's processing when the program starts. Programs that link this
// library keep this file through the symbol below, which the library's link interface names.
#include "reporter/core/processing/user_dialogs.h"
#include "reporter/dialogs/reproduce_request.h"
#include "reporter/dialogs/run_error_dialog.h"

extern "C" {
extern const int ReporterDialogsInstalled;
const int ReporterDialogsInstalled = [] {
    InstallUserDialogs(
        {.RunErrorDialog = RunErrorDialog, .RunReproduceRequest = RunReproduceRequest});
    return 1;
}();
}
