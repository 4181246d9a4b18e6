// TLoginDialog: asks for the user name and password of a database whose alias names a user.
#pragma once
#include "tables/modal_dialog.h"
#include <string>

class TLoginDialog : public TModalDialog {
  public:
    TLoginDialog(TComponent* owner, std::string databaseName, std::string userName);

    // True when the dialog was closed with "OK"; UserName and Password then hold the answer.
    bool Execute() { return ShowModal() == IDOK; }
    const std::string& UserName() const { return userName_; }
    const std::string& Password() const { return password_; }

  private:
    void InitDialog() override;
    void Command(int id, int code) override;
    void NarrowDatabaseLabel();

    std::string databaseName_;
    std::string userName_;
    std::string password_;
};

// The database connections' login prompt: false when the user cancels.
bool ShowLoginDialog(const std::string& databaseName, std::string& userName, std::string& password);
