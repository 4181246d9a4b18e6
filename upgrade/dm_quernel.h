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
    void AddColumn(TTable* table, const NewColumnDesc& desc);

  private:
    void EnsureColumn(TTable* table, const char* name, uint16_t type, int16_t size);
    void UpgradeSubject();
    void UpgradeInspCarrier();
    void UpgradeCrashVeh();
    void UpgradeInspViols();
};

extern TdmQuernel* dmQuernel;
