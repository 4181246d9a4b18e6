#include "tables/table.h"
#include "runtime/text.h"
#include "tables/bde.h"
#include "tables/database.h"
#include "tables/engine_error.h"
#include "tables/session.h"

TTable::TTable(TComponent* owner) : TComponent(owner) {}

TTable::~TTable() {
    CloseTable();
}

void TTable::SetDatabaseName(std::string name) {
    CheckInactive();
    databaseName_ = std::move(name);
}

void TTable::SetTableName(std::string name) {
    CheckInactive();
    tableName_ = std::move(name);
}

void TTable::SetTableType(TTableType type) {
    CheckInactive();
    tableType_ = type;
}

void TTable::SetExclusive(bool exclusive) {
    CheckInactive();
    exclusive_ = exclusive;
}

void TTable::SetReadOnly(bool readOnly) {
    CheckInactive();
    readOnly_ = readOnly;
}

void TTable::SetActive(bool active) {
    if (active)
        OpenTable();
    else
        CloseTable();
}

void TTable::OpenTable() {
    if (Active())
        return;
    Fire(BeforeOpen);
    try {
        Open();
    } catch (...) {
        CloseCursor();
        ReleaseDatabase();
        throw;
    }
    state_ = TDataSetState::dsBrowse;
    Fire(AfterOpen);
}

void TTable::CloseTable() {
    if (!Active())
        return;
    Fire(BeforeClose);
    state_ = TDataSetState::dsInactive;
    CloseCursor();
    ReleaseDatabase();
    Fire(AfterClose);
}

TField* TTable::LookupField(const std::string& name) const {
    for (const auto& field : fields_)
        if (AnsiSameText(field->FieldName(), name))
            return field.get();
    return nullptr;
}

void TTable::CheckInactive() const {
    if (Active())
        RaiseTableError("Cannot perform this operation on an open dataset", this);
}

void TTable::Fire(const TDataSetNotifyEvent& event) {
    if (event)
        event(*this);
}

void TTable::Open() {
    AcquireDatabase();
    if (tableName_.empty())
        RaiseTableError("Missing TableName property", this);
    handle_ = OpenCursor();
    ReadCursor();
    CheckStatus(bde::DbiSetToBegin(handle_));
}

void TTable::AcquireDatabase() {
    if (database_)
        return;
    database_ = Session->OpenDatabase(databaseName_);
    database_->Attach(this);
}

void TTable::ReleaseDatabase() {
    if (!database_)
        return;
    TDatabase* database = database_;
    database_ = nullptr;
    database->Detach(this);
    Session->CloseDatabase(database);
}

// Tables the user may not write open read-only; a protected one opens once the session
// holds its password.
hDBICur TTable::OpenCursor() {
    DBIOpenMode mode = readOnly_ ? dbiREADONLY : dbiREADWRITE;
    for (;;) {
        hDBICur cursor = 0;
        DBIResult status = DbiStatus16(TryOpenCursor(mode, cursor));
        if (status == DBIERR_NONE) {
            if (!cursor)
                throw ENoResultSet("Error creating cursor handle");
            return cursor;
        }
        if (status == DBIERR_NOTSUFFTABLERIGHTS && mode == dbiREADWRITE)
            mode = dbiREADONLY;
        else if (status != DBIERR_INVALIDPASSWORD || !Session->RequestPassword())
            CheckStatus(status);
    }
}

DBIResult TTable::TryOpenCursor(DBIOpenMode mode, hDBICur& cursor) const {
    return bde::DbiOpenTable(
        database_->Handle(), tableName_.c_str(), DriverTypeName(tableType_, tableName_), nullptr,
        nullptr, 0, mode, exclusive_ ? dbiOPENEXCL : dbiOPENSHARED, xltFIELD, 0, nullptr, &cursor);
}

void TTable::ReadCursor() {
    CURProps props{};
    CheckStatus(bde::DbiGetCursorProps(handle_, &props));
    recordSize_ = props.iRecSize;
    bookmarkSize_ = props.iBookMarkSize;
    canModify_ = props.eOpenMode == dbiREADWRITE;
    std::vector<FLDDesc> descs(props.iFields);
    if (!descs.empty())
        CheckStatus(bde::DbiGetFieldDescs(handle_, descs.data()));
    for (const auto& desc : descs)
        fields_.push_back(std::make_unique<TField>(desc));
}

void TTable::CloseCursor() {
    fields_.clear();
    if (handle_)
        bde::DbiCloseCursor(&handle_);
    handle_ = 0;
    canModify_ = false;
    recordSize_ = bookmarkSize_ = 0;
}
