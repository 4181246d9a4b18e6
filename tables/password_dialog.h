// TPasswordDialog: the prompt a protected table brings up. The user adds passwords to the
// session, removes them, and confirms ("OK": the open is tried again) or gives up ("Cancel").
#pragma once
#include "tables/modal_dialog.h"

class TSession;

class TPasswordDialog : public TModalDialog {
  public:
    TPasswordDialog(TComponent* owner, TSession& session);

    // True when the dialog was closed with "OK".
    bool Execute() { return ShowModal() == IDOK; }

  private:
    void InitDialog() override;
    void Command(int id, int code) override;
    void UpdateButtons();
    void Add();
    void Remove();
    void RemoveAll();
    void Confirm();

    TSession& session_;
    bool passwordAdded_ = false;
};

// The session's password prompt: the dialog, owned by the application object for one prompt.
bool ShowPasswordDialog(TSession& session);
