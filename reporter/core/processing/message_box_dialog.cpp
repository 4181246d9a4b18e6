#include "reporter/core/processing/message_box_dialog.h"
#include "reporter/core/processing/dialog_state.h"
#include <windows.h>

bool ShowMessageBoxDialog(const TErrorDialogInput& input) {
    if (!MessageBoxA(nullptr, input.Message.c_str(), input.Options.Text(kTextErrorOccurred).c_str(),
                     MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND))
        return false;
    TDialogState& state = DialogState();
    state.Kind = kNoDialog;
    state.Shown = true;
    state.CopyToClipboard = false;
    return true;
}
