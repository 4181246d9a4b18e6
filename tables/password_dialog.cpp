#include "tables/password_dialog.h"
#include "resources/table_dialog_ids.h"
#include "runtime/application.h"
#include "tables/session.h"
#include <memory>

namespace {

constexpr int kClientWidth = 273;
constexpr int kClientHeight = 132;

} // namespace

TPasswordDialog::TPasswordDialog(TComponent* owner, TSession& session)
    : TModalDialog(owner, IDD_PASSWORD), session_(session) {}

void TPasswordDialog::InitDialog() {
    SetClientSize(kClientWidth, kClientHeight);
    SendMessageA(Item(IDC_PASSWORD_EDIT), EM_SETPASSWORDCHAR, '*', 0);
    UpdateButtons();
    FocusItem(IDC_PASSWORD_EDIT);
}

void TPasswordDialog::Command(int id, int code) {
    if (id == IDC_PASSWORD_EDIT && code == EN_CHANGE)
        UpdateButtons();
    else if (code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_PASSWORD_ADD:
        Add();
        break;
    case IDC_PASSWORD_REMOVE:
        Remove();
        break;
    case IDC_PASSWORD_REMOVE_ALL:
        RemoveAll();
        break;
    case IDOK:
        Confirm();
        break;
    case IDCANCEL:
        Close(IDCANCEL);
        break;
    }
}

void TPasswordDialog::UpdateButtons() {
    const bool hasText = GetWindowTextLengthA(Item(IDC_PASSWORD_EDIT)) > 0;
    EnableItem(IDC_PASSWORD_ADD, hasText);
    EnableItem(IDC_PASSWORD_REMOVE, hasText);
    EnableItem(IDOK, hasText || passwordAdded_);
}

void TPasswordDialog::Add() {
    session_.AddPassword(ItemText(IDC_PASSWORD_EDIT));
    passwordAdded_ = true;
    SetItemText(IDC_PASSWORD_EDIT, "");
    FocusItem(IDC_PASSWORD_EDIT);
}

void TPasswordDialog::Remove() {
    session_.RemovePassword(ItemText(IDC_PASSWORD_EDIT));
    SetItemText(IDC_PASSWORD_EDIT, "");
    FocusItem(IDC_PASSWORD_EDIT);
}

void TPasswordDialog::RemoveAll() {
    session_.RemoveAllPasswords();
    FocusItem(IDC_PASSWORD_EDIT);
}

// Typing a password and pressing Enter adds it and closes in one step.
void TPasswordDialog::Confirm() {
    const std::string password = ItemText(IDC_PASSWORD_EDIT);
    if (!password.empty())
        session_.AddPassword(password);
    Close(IDOK);
}

bool ShowPasswordDialog(TSession& session) {
    auto dialog = std::make_unique<TPasswordDialog>(Application, session);
    return dialog->Execute();
}
