#include "tables/database_dialogs_unit.h"
#include "tables/database.h"
#include "tables/login_dialog.h"
#include "tables/password_dialog.h"
#include "tables/session.h"

namespace {

void Initialization() {
    PasswordDialog = ShowPasswordDialog;
    LoginDialog = ShowLoginDialog;
}

// Only what this unit registered: a prompt registered after it stays.
void Finalization() {
    if (PasswordDialog == ShowPasswordDialog)
        PasswordDialog = nullptr;
    if (LoginDialog == ShowLoginDialog)
        LoginDialog = nullptr;
}

} // namespace

const TUnit DatabaseDialogsUnit{"DatabaseDialogs", Initialization, Finalization};
