#include "upgrade/dm_quernel.h"
#include "idapi.h"
#include "upgrade/restructure_add_column.h"
#include <cstring>

TdmQuernel* dmQuernel = nullptr;

namespace {

template <class T>
T* MakeTable(TComponent* owner, const char* name, const char* database, const char* table) {
    T* t = new T(owner);
    t->SetName(name);
    t->SetDatabaseName(database);
    t->SetTableName(table);
    return t;
}

constexpr uint16_t kString = fldZSTRING;
constexpr uint16_t kShort = fldINT16;
constexpr uint16_t kLong = fldINT32;

} // namespace

TdmQuernel::TdmQuernel(TComponent* owner) : TDataModule(owner) {
    SetName("dmQuernel");
    tSubject = MakeTable<TTable>(this, "tSubject", "PROFILEDATA", "Subject.DB");
    tProfiles = MakeTable<TTable>(this, "tProfiles", "PROFILEDATA", "Profiles.DB");
    tInspections = MakeTable<TpvTable>(this, "tInspections", "PROFILEDATA", "Inspections.DB");
    tInspDriver = MakeTable<TpvTable>(this, "tInspDriver", "PROFILEDATA", "InspDriver.DB");
    tInspCarrier = MakeTable<TpvTable>(this, "tInspCarrier", "PROFILEDATA", "InspCarrier.DB");
    tInspViols = MakeTable<TpvTable>(this, "tInspViols", "PROFILEDATA", "Insp_Viols.DB");
    tCrashes = MakeTable<TpvTable>(this, "tCrashes", "PROFILEDATA", "Crashes.DB");
    tCrashesDr = MakeTable<TpvTable>(this, "tCrashesDr", "PROFILEDATA", "CrashDriver.DB");
    tCrashesVeh = MakeTable<TpvTable>(this, "tCrashesVeh", "PROFILEDATA", "CrashVeh.DB");
    tCrashSeq = MakeTable<TpvTable>(this, "tCrashSeq", "PROFILEDATA", "CrashSeq.DB");
    tCrashSummary = MakeTable<TpvTable>(this, "tCrashSummary", "ProfileData", "CrashSummary.DB");
    tBasics = MakeTable<TpvTable>(this, "tBasics", "ProfileData", "Basics.DB");
    OnCreate = [this](TComponent* sender) { DataModuleCreate(sender); };
}

void TdmQuernel::EnsureColumn(TTable* table, const char* name, uint16_t type, int16_t size) {
    table->OpenTable();
    if (table->LookupField(name))
        return;
    NewColumnDesc desc{};
    std::strncpy(desc.name, name, sizeof desc.name - 1);
    desc.fldType = type;
    desc.units1 = size;
    AddColumn(table, desc);
}

void TdmQuernel::AddColumn(TTable* table, const NewColumnDesc& column) {
    table->CloseTable();
    table->SetExclusive(true);
    table->OpenTable();
    NewColumnDesc desc{};
    std::memcpy(desc.name, column.name, sizeof desc.name);
    desc.fldType = column.fldType;
    desc.units1 = column.units1;
    RestructureAddColumn(table, desc);
    table->CloseTable();
    table->SetExclusive(false);
}

void TdmQuernel::UpgradeSubject() {
    EnsureColumn(tSubject, "PHY_STATE_COUNTRY", kString, 50);
    EnsureColumn(tSubject, "MAIL_STATE_COUNTRY", kString, 50);
    EnsureColumn(tSubject, "EIN", kLong, 0);
    EnsureColumn(tSubject, "Truck_Units", kLong, 0);
    EnsureColumn(tSubject, "Bus_Units", kLong, 0);
    EnsureColumn(tSubject, "Mail_Street", kString, 50);
    EnsureColumn(tSubject, "Mail_City", kString, 25);
    EnsureColumn(tSubject, "Mail_State", kString, 2);
    EnsureColumn(tSubject, "Mail_Zip_Code", kString, 10);
    EnsureColumn(tSubject, "Revocation_Date", kString, 10);
    EnsureColumn(tSubject, "Revocation_Rescinded_Date", kString, 10);
    EnsureColumn(tSubject, "New_Entrant_Code", kString, 1);
    EnsureColumn(tSubject, "New_Entrant_Entry_Date", kString, 10);
    EnsureColumn(tSubject, "New_Entrant_Exit_Date", kString, 10);
    EnsureColumn(tSubject, "New_Entrant_Code_Desc", kString, 50);
    EnsureColumn(tSubject, "MSG_BIENNIAL", kString, 120);
}

void TdmQuernel::UpgradeInspCarrier() {
    EnsureColumn(tInspCarrier, "RealRepNum", kString, 12);
    EnsureColumn(tInspCarrier, "Vin", kString, 17);
    EnsureColumn(tInspCarrier, "Company_Number2", kString, 15);
    EnsureColumn(tInspCarrier, "Unit2", kString, 15);
    EnsureColumn(tInspCarrier, "LicNum2", kString, 12);
    EnsureColumn(tInspCarrier, "Vin2", kString, 17);
    EnsureColumn(tInspCarrier, "Company_Number3", kString, 15);
    EnsureColumn(tInspCarrier, "Unit3", kString, 15);
    EnsureColumn(tInspCarrier, "LicNum3", kString, 12);
    EnsureColumn(tInspCarrier, "Vin3", kString, 17);
    EnsureColumn(tInspCarrier, "Company_Number4", kString, 15);
    EnsureColumn(tInspCarrier, "Unit4", kString, 15);
    EnsureColumn(tInspCarrier, "LicNum4", kString, 12);
    EnsureColumn(tInspCarrier, "Vin4", kString, 17);
    EnsureColumn(tInspCarrier, "Company_Number5", kString, 15);
    EnsureColumn(tInspCarrier, "Unit5", kString, 15);
    EnsureColumn(tInspCarrier, "LicNum5", kString, 12);
    EnsureColumn(tInspCarrier, "Vin5", kString, 17);
    EnsureColumn(tInspCarrier, "Company_Number6", kString, 15);
    EnsureColumn(tInspCarrier, "Unit6", kString, 15);
    EnsureColumn(tInspCarrier, "LicNum6", kString, 12);
    EnsureColumn(tInspCarrier, "Vin6", kString, 17);
}

void TdmQuernel::UpgradeCrashVeh() {
    EnsureColumn(tCrashesVeh, "RealRepNum", kString, 12);
    EnsureColumn(tCrashesVeh, "Unit2", kString, 15);
    EnsureColumn(tCrashesVeh, "LicNum2", kString, 12);
    EnsureColumn(tCrashesVeh, "Unit3", kString, 15);
    EnsureColumn(tCrashesVeh, "LicNum3", kString, 12);
    EnsureColumn(tCrashesVeh, "Unit4", kString, 15);
    EnsureColumn(tCrashesVeh, "LicNum4", kString, 12);
    EnsureColumn(tCrashesVeh, "Unit5", kString, 15);
    EnsureColumn(tCrashesVeh, "LicNum5", kString, 12);
    EnsureColumn(tCrashesVeh, "Unit6", kString, 15);
    EnsureColumn(tCrashesVeh, "LicNum6", kString, 12);
}

void TdmQuernel::UpgradeInspViols() {
    EnsureColumn(tInspViols, "RealRepNum", kString, 12);
    EnsureColumn(tInspViols, "Post_Crash_Flag", kString, 10);
}

void TdmQuernel::DataModuleCreate(TComponent*) {
    UpgradeSubject();
    EnsureColumn(tCrashes, "RealRepNum", kString, 12);
    EnsureColumn(tCrashesDr, "RealRepNum", kString, 12);
    EnsureColumn(tCrashesDr, "DViols", kShort, 3);
    EnsureColumn(tCrashSummary, "CYear", kString, 4);
    EnsureColumn(tCrashSeq, "RealRepNum", kString, 12);
    EnsureColumn(tInspections, "RealRepNum", kString, 12);
    EnsureColumn(tInspDriver, "RealRepNum", kString, 12);
    EnsureColumn(tInspDriver, "DViols", kShort, 3);
    UpgradeInspCarrier();
    UpgradeCrashVeh();
    UpgradeInspViols();
    EnsureColumn(tProfiles, "Version", kString, 6);
    EnsureColumn(tBasics, "Basics_Name", kString, 64);
}
