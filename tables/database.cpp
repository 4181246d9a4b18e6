#include "tables/database.h"
#include "runtime/format.h"
#include "runtime/text.h"
#include "tables/bde.h"
#include "tables/engine_error.h"
#include "tables/table.h"
#include <algorithm>

TLoginDialogProc LoginDialog = nullptr;

namespace {

std::vector<CFGDesc> AliasParams(const std::string& alias) {
    uint16_t count = 0;
    CheckStatus(bde::DbiGetAliasParams(alias.c_str(), &count, nullptr));
    std::vector<CFGDesc> params(count);
    if (count > 0)
        CheckStatus(bde::DbiGetAliasParams(alias.c_str(), &count, params.data()));
    params.resize(std::min<size_t>(count, params.size()));
    return params;
}

const CFGDesc* FindParam(const std::vector<CFGDesc>& params, const char* name) {
    for (const auto& param : params)
        if (AnsiSameText(param.szNodeName, name))
            return &param;
    return nullptr;
}

} // namespace

TDatabase::TDatabase(std::string databaseName)
    : TComponent(nullptr), databaseName_(std::move(databaseName)) {}

TDatabase::~TDatabase() {
    Close();
}

bool TDatabase::IsFolder() const {
    return databaseName_.find_first_of(":\\") != std::string::npos;
}

void TDatabase::Open() {
    if (Connected())
        return;
    std::string password = IsFolder() ? std::string() : Login();
    hDBIDb handle = 0;
    CheckStatus(bde::DbiOpenDatabase(databaseName_.c_str(), nullptr, dbiREADWRITE, dbiOPENSHARED,
                                     password.c_str(), 0, nullptr, nullptr, &handle));
    handle_ = handle;
}

void TDatabase::Close() {
    if (closing_)
        return;
    closing_ = true;
    for (auto tables = tables_; !tables.empty(); tables.pop_back())
        tables.back()->CloseTable();
    if (handle_)
        bde::DbiCloseDatabase(&handle_);
    handle_ = 0;
    closing_ = false;
}

void TDatabase::Release() {
    if (refCount_ > 0)
        --refCount_;
}

void TDatabase::Attach(TTable* table) {
    tables_.push_back(table);
}

void TDatabase::Detach(TTable* table) {
    tables_.erase(std::remove(tables_.begin(), tables_.end(), table), tables_.end());
}

// An alias with a "USER NAME" parameter logs in; without a registered login dialog the open
// goes ahead without a password and the engine decides. The password of the login.
std::string TDatabase::Login() {
    std::vector<CFGDesc> params = AliasParams(databaseName_);
    const CFGDesc* user = FindParam(params, "USER NAME");
    if (!user || !loginPrompt_ || !LoginDialog)
        return {};
    std::string userName = userName_.empty() ? user->szValue : userName_;
    std::string password;
    if (!LoginDialog(databaseName_, userName, password))
        throw EDatabaseError(Format("Cannot connect to database '%s'", databaseName_.c_str()));
    userName_ = userName;
    return password;
}
