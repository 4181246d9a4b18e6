#include "tables/session.h"
#include "runtime/text.h"
#include "tables/bde.h"
#include "tables/database.h"
#include "tables/engine_error.h"
#include "tables/engine_text.h"
#include <algorithm>
#include <cstring>

TSession* Session = nullptr;
TPasswordDialogProc PasswordDialog = nullptr;

namespace {

// The engine keeps a password in a short string.
constexpr size_t kMaxPasswordBytes = 255;

std::string EnginePassword(const std::string& password) {
    return EngineText(password, kMaxPasswordBytes);
}

} // namespace

TSession::TSession(TComponent* owner) : TComponent(owner) {}

TSession::~TSession() {
    Close();
}

void TSession::Open() {
    if (Active())
        return;
    DBIEnv env{};
    std::strcpy(env.szLang, "0009");
    DBIResult status = DbiStatus16(bde::DbiInitFn(DBIINTFVER, &env));
    if (status != DBIERR_MULTIPLEINIT)
        CheckStatus(status);
    hDBISes handle = 0;
    status = bde::DbiGetCurrSession(&handle);
    if (DbiStatus16(status)) {
        EDBEngineError error(status);
        bde::DbiExit();
        throw error;
    }
    handle_ = handle;
}

void TSession::Close() {
    if (!Active())
        return;
    CloseDatabases();
    handle_ = 0;
    bde::DbiExit();
}

TDatabase* TSession::OpenDatabase(const std::string& databaseName) {
    Open();
    std::lock_guard<std::recursive_mutex> hold(databasesLock_);
    TDatabase* database = FindLocked(databaseName);
    const bool created = !database;
    if (created)
        database = AddTemporary(databaseName);
    try {
        database->Open();
    } catch (...) {
        if (created)
            Drop(database);
        throw;
    }
    database->AddRef();
    return database;
}

void TSession::CloseDatabase(TDatabase* database) {
    std::lock_guard<std::recursive_mutex> hold(databasesLock_);
    database->Release();
    if (database->RefCount() > 0 || database->KeepConnection() || database->Closing())
        return;
    database->Close();
    if (database->Temporary())
        Drop(database);
}

TDatabase* TSession::FindDatabase(const std::string& databaseName) const {
    std::lock_guard<std::recursive_mutex> hold(databasesLock_);
    return FindLocked(databaseName);
}

int TSession::DatabaseCount() const {
    std::lock_guard<std::recursive_mutex> hold(databasesLock_);
    return int(databases_.size());
}

void TSession::AddPassword(const std::string& password) {
    Open();
    if (!password.empty())
        CheckStatus(bde::DbiAddPassword(EnginePassword(password).c_str()));
}

void TSession::RemovePassword(const std::string& password) {
    if (Active() && !password.empty())
        bde::DbiDropPassword(EnginePassword(password).c_str());
}

void TSession::RemoveAllPasswords() {
    if (Active())
        bde::DbiDropPassword(nullptr);
}

bool TSession::RequestPassword() {
    if (OnPassword) {
        bool continueOpen = false;
        OnPassword(*this, continueOpen);
        return continueOpen;
    }
    return PasswordDialog && PasswordDialog(*this);
}

TDatabase* TSession::FindLocked(const std::string& databaseName) const {
    for (const auto& database : databases_)
        if (AnsiSameText(database->DatabaseName(), databaseName))
            return database.get();
    return nullptr;
}

TDatabase* TSession::AddTemporary(const std::string& databaseName) {
    auto database = std::make_unique<TDatabase>(databaseName);
    database->SetTemporary(true);
    database->SetKeepConnection(keepConnections_);
    databases_.push_back(std::move(database));
    return databases_.back().get();
}

void TSession::Drop(TDatabase* database) {
    auto it = std::find_if(databases_.begin(), databases_.end(),
                           [&](const auto& d) { return d.get() == database; });
    if (it != databases_.end())
        databases_.erase(it);
}

void TSession::CloseDatabases() {
    std::lock_guard<std::recursive_mutex> hold(databasesLock_);
    for (const auto& database : databases_)
        database->Close();
    databases_.clear();
}
