// What the dialogs and the processing of one report share: the kind of dialog to show next and
// the user's decisions. One set for the process, reset for each report; used on the thread that
// processes the exception.
#pragma once
#include <windows.h>

// The kinds, as the options' DialogKind numbers them.
constexpr int kNoDialog = 0;
constexpr int kMessageBoxDialog = 1;
constexpr int kClassicDialog = 2;
constexpr int kDetailedDialog = 3;

struct TDialogState {
    // The dialog to show next; a dialog that closes normally sets none, the classic dialog's
    // link sets the detailed one.
    int Kind = kNoDialog;
    bool SendReport = true;
    bool AttachScreenshot = false;
    // Kept only when the box was shown and checked.
    bool CopyToClipboard = true;
    // Closed with Esc or the close box.
    bool Cancelled = false;
    // A dialog window was painted (or the message box was used).
    bool Shown = false;
    // No dialog could be shown: later dialogs of the report are not tried.
    bool Failed = false;
    // A dialog of this report has been up already: the detailed dialog comes in detailed mode.
    bool Repeated = false;
    // The dialog that is up, for the keep-in-front timer.
    HWND Current = nullptr;
};

TDialogState& DialogState();

// A new report: every decision back to its default, `kind` to show.
void ResetDialogState(int kind);
