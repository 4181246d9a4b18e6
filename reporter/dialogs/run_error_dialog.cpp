#include "reporter/dialogs/run_error_dialog.h"
#include "reporter/core/processing/dialog_state.h"
#include "reporter/core/processing/internal_error.h"
#include "reporter/core/processing/message_box_dialog.h"
#include "reporter/core/processing/processing_state.h"
#include "reporter/dialogs/classic_dialog.h"
#include "reporter/dialogs/detailed_dialog.h"
#include "runtime/exception.h"
#include <commctrl.h>

namespace {

// The rich edit control of the report pages, loaded while a dialog is up.
class TRichEditLibrary {
  public:
    TRichEditLibrary() : library_(LoadLibraryA("RICHED20.DLL")) {}
    ~TRichEditLibrary() {
        if (library_)
            FreeLibrary(library_);
    }
    TRichEditLibrary(const TRichEditLibrary&) = delete;
    TRichEditLibrary& operator=(const TRichEditLibrary&) = delete;

  private:
    HMODULE library_;
};

bool IsNtFamily() {
    return !(GetVersion() & 0x80000000u);
}

void ShowDialogOfKind(const TErrorDialogInput& input) {
    switch (DialogState().Kind) {
    case kDetailedDialog:
        ShowDetailedDialog(input);
        break;
    case kClassicDialog:
        ShowClassicDialog(input);
        break;
    default:
        ShowMessageBoxDialog(input);
    }
}

// One round: the dialogs of the state's kind until one closes normally. False when a dialog
// could not be shown, by itself or by the message box in its place.
bool ShowUntilClosed(const TErrorDialogInput& input) {
    TDialogState& state = DialogState();
    while (state.Kind != kNoDialog) {
        state.Shown = false;
        ShowDialogOfKind(input);
        if (!state.Shown && IsNtFamily())
            ShowMessageBoxDialog(input);
        if (!state.Shown)
            return false;
    }
    return true;
}

void ShowDialogs(const TErrorDialogInput& input) {
    TDialogState& state = DialogState();
    const int firstKind = state.Kind;
    while (ShowUntilClosed(input)) {
        // A listener may withdraw the user's request to end the program: then the user is
        // asked again.
        if (!ProcessingState().TerminateRequested || input.TerminateConfirmed())
            return;
        state.Kind = firstKind;
    }
    const Exception failure("Cannot show the DialogBox window.");
    ReportInternalErrorAtLastRaise(std::to_string(ProcessingState().Section), &failure);
    state.Kind = kNoDialog;
    state.Failed = true;
}

} // namespace

void RunErrorDialog(const TErrorDialogInput& input, bool beep) {
    const TRichEditLibrary richEdit;
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HWND foreground = GetForegroundWindow();
    DialogState().Current = nullptr;
    if (beep && DialogState().Kind != kMessageBoxDialog)
        MessageBeep(MB_ICONHAND);
    try {
        ShowDialogs(input);
    } catch (...) {
        SetForegroundWindow(foreground);
        throw;
    }
    SetForegroundWindow(foreground);
}
