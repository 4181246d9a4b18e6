// A table component: bound to an engine database by name and to one table by file name, it
// opens shared or exclusively, lists its columns as field objects while open and hands out
// its engine cursor.
#pragma once
#include "idapi.h"
#include "runtime/component.h"
#include "tables/field.h"
#include "tables/table_type.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDatabase;
class TTable;

enum class TDataSetState { dsInactive, dsBrowse };

using TDataSetNotifyEvent = std::function<void(TTable& table)>;

class TTable : public TComponent {
  public:
    explicit TTable(TComponent* owner);
    ~TTable() override;

    // Engine alias, or a folder when the name holds a colon or a backslash.
    const std::string& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(std::string name);
    const std::string& TableName() const { return tableName_; }
    void SetTableName(std::string name);
    TTableType TableType() const { return tableType_; }
    void SetTableType(TTableType type);
    // The properties below can change only while the table is inactive.
    bool Exclusive() const { return exclusive_; }
    void SetExclusive(bool exclusive);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    TDataSetState State() const { return state_; }
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    void SetActive(bool active);
    // Does nothing when the table is open already.
    void OpenTable();
    // Does nothing when the table is closed.
    void CloseTable();

    // The first field with this name, compared without regard to case under the user's
    // locale; null when there is none, and always while closed.
    TField* LookupField(const std::string& name) const;
    int ColumnCount() const { return int(fields_.size()); }
    TField* Fields(int index) const { return fields_.at(size_t(index)).get(); }

    // The engine cursor of the open table; 0 while closed.
    hDBICur Handle() const { return handle_; }
    // The database connection held while open.
    TDatabase* Database() const { return database_; }
    // False when the table was opened read-only, on request or because writing is refused.
    bool CanModify() const { return canModify_; }
    int RecordSize() const { return recordSize_; }
    int BookmarkSize() const { return bookmarkSize_; }

    TDataSetNotifyEvent BeforeOpen;
    TDataSetNotifyEvent AfterOpen;
    TDataSetNotifyEvent BeforeClose;
    TDataSetNotifyEvent AfterClose;

  private:
    void CheckInactive() const;
    void Fire(const TDataSetNotifyEvent& event);
    void Open();
    void AcquireDatabase();
    void ReleaseDatabase();
    hDBICur OpenCursor();
    DBIResult TryOpenCursor(DBIOpenMode mode, hDBICur& cursor) const;
    void ReadCursor();
    void CloseCursor();

    std::string databaseName_;
    std::string tableName_;
    TTableType tableType_ = TTableType::ttDefault;
    bool exclusive_ = false;
    bool readOnly_ = false;
    TDataSetState state_ = TDataSetState::dsInactive;
    hDBICur handle_ = 0;
    TDatabase* database_ = nullptr;
    bool canModify_ = false;
    int recordSize_ = 0;
    int bookmarkSize_ = 0;
    std::vector<std::unique_ptr<TField>> fields_;
};
