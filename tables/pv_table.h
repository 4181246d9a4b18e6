// The component suite's table: a TTable with three settings of its own that play no part in
// opening, closing or looking up fields.
#pragma once
#include "tables/table.h"

class TpvTable : public TTable {
  public:
    using TTable::TTable;

    bool SyncSQLByRange() const { return syncSQLByRange_; }
    void SetSyncSQLByRange(bool sync) { syncSQLByRange_ = sync; }
    bool NarrowSearch() const { return narrowSearch_; }
    void SetNarrowSearch(bool narrow) { narrowSearch_ = narrow; }
    bool ValidateWithMask() const { return validateWithMask_; }
    void SetValidateWithMask(bool validate) { validateWithMask_ = validate; }

  private:
    bool syncSQLByRange_ = false;
    bool narrowSearch_ = false;
    bool validateWithMask_ = true;
};
