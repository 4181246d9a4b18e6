// A connection to one engine database, named by alias or by folder, shared by the tables
// that use it and counted per user.
#pragma once
#include "idapi.h"
#include "runtime/component.h"
#include <string>
#include <vector>

class TTable;

// Asks for the user name and password of a database; false when the user cancels. The login
// dialog registers itself here.
using TLoginDialogProc = bool (*)(const std::string& databaseName, std::string& userName,
                                  std::string& password);
extern TLoginDialogProc LoginDialog;

class TDatabase : public TComponent {
  public:
    explicit TDatabase(std::string databaseName);
    ~TDatabase() override;

    const std::string& DatabaseName() const { return databaseName_; }
    // A name with a colon or a backslash is a folder, any other an alias.
    bool IsFolder() const;
    bool Temporary() const { return temporary_; }
    void SetTemporary(bool temporary) { temporary_ = temporary; }
    bool KeepConnection() const { return keepConnection_; }
    void SetKeepConnection(bool keep) { keepConnection_ = keep; }
    bool LoginPrompt() const { return loginPrompt_; }
    void SetLoginPrompt(bool prompt) { loginPrompt_ = prompt; }
    // The connection's own user name: it comes before the alias's in the login, and holds
    // the one the login gave.
    const std::string& UserName() const { return userName_; }
    void SetUserName(std::string userName) { userName_ = std::move(userName); }

    bool Connected() const { return handle_ != 0; }
    hDBIDb Handle() const { return handle_; }
    void Open();
    // Closes the tables that use this connection, then the engine database.
    void Close();
    bool Closing() const { return closing_; }

    int RefCount() const { return refCount_; }
    void AddRef() { ++refCount_; }
    void Release();

    // The tables open on this connection, closed with it.
    void Attach(TTable* table);
    void Detach(TTable* table);

  private:
    std::string Login();

    std::string databaseName_;
    bool temporary_ = false;
    bool keepConnection_ = true;
    bool loginPrompt_ = true;
    std::string userName_;
    bool closing_ = false;
    hDBIDb handle_ = 0;
    int refCount_ = 0;
    std::vector<TTable*> tables_;
};
