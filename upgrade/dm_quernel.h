// The upgrade data module: twelve tables of the PROFILEDATA database and the ordered checks
// that add every required column a table lacks.
#pragma once
#include "runtime/data_module.h"
#include "tables/pv_table.h"
#include "upgrade/new_column.h"

class TdmQuernel : public TDataModule {
  public:
    explicit TdmQuernel(TComponent* owner);

    TTable* tSubject;
    TTable* tProfiles;
    TpvTable* tInspections;
    TpvTable* tInspDriver;
    TpvTable* tInspCarrier;
    TpvTable* tInspViols;
    TpvTable* tCrashes;
    TpvTable* tCrashesDr;
    TpvTable* tCrashesVeh;
    TpvTable* tCrashSeq;
    TpvTable* tCrashSummary;
    TpvTable* tBasics;

    void DataModuleCreate(TComponent* sender);
    // Opens the table and appends the column unless a column of that name (any letter case)
    // exists; the table stays open.
    void EnsureColumn(TTable* table, const char* name, uint16_t type, int16_t size);
    void AddColumn(TTable* table, const NewColumnDesc& desc);

  private:
    void UpgradeSubject();
    void UpgradeInspCarrier();
    void UpgradeCrashVeh();
    void UpgradeInspViols();
};

extern TdmQuernel* dmQuernel;
