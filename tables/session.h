// The engine session: started on first use, it holds the engine's session handle, the
// database connections and the passwords, and asks for a password when a table needs one.
#pragma once
#include "idapi.h"
#include "runtime/component.h"
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TDatabase;
class TSession;

using TPasswordEvent = std::function<void(TSession& sender, bool& continueOpen)>;
// A prompt that lets the user add passwords to the session; true when the open is to be
// tried again. The password dialog registers itself here.
using TPasswordDialogProc = bool (*)(TSession& session);
extern TPasswordDialogProc PasswordDialog;

class TSession : public TComponent {
  public:
    explicit TSession(TComponent* owner);
    ~TSession() override;

    const std::string& SessionName() const { return sessionName_; }
    bool Active() const { return handle_ != 0; }
    hDBISes Handle() const { return handle_; }
    // Starts the engine (interface version 500, language "0009") and takes its current
    // session. Does nothing when started.
    void Open();
    // Closes every database connection and shuts the engine down.
    void Close();

    bool KeepConnections() const { return keepConnections_; }
    void SetKeepConnections(bool keep) { keepConnections_ = keep; }

    // The connection for a database name (alias or folder), compared without regard to case;
    // a temporary one is created and opened when there is none. Counts one more user of it.
    TDatabase* OpenDatabase(const std::string& databaseName);
    // Counts one user less; an unused connection that is not to be kept is closed, and
    // dropped when temporary.
    void CloseDatabase(TDatabase* database);
    TDatabase* FindDatabase(const std::string& databaseName) const;
    int DatabaseCount() const;

    void AddPassword(const std::string& password);
    void RemovePassword(const std::string& password);
    void RemoveAllPasswords();
    // Asks OnPassword, else the registered password dialog; without either the answer is no.
    bool RequestPassword();

    TPasswordEvent OnPassword;

  private:
    TDatabase* FindLocked(const std::string& databaseName) const;
    TDatabase* AddTemporary(const std::string& databaseName);
    void Drop(TDatabase* database);
    void CloseDatabases();

    std::string sessionName_ = "Default";
    hDBISes handle_ = 0;
    bool keepConnections_ = true;
    mutable std::recursive_mutex databasesLock_;
    std::vector<std::unique_ptr<TDatabase>> databases_;
};

// The default session, from the table layer's initialisation to its finalisation.
extern TSession* Session;
