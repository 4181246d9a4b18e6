#include "reporter/core/processing/dialog_state.h"

TDialogState& DialogState() {
    static TDialogState state;
    return state;
}

void ResetDialogState(int kind) {
    DialogState() = TDialogState{.Kind = kind};
}
