// The PROFILEDATA database in its old layout: twelve tables of a motor-carrier safety profile
// application, and the columns the upgrade adds to them.
#pragma once
#include <string>
#include <vector>

// What a column holds; values are made by profile_values.
enum class Content {
    Empty, // memo columns: the engine writes no memo values
    OwnDot,
    Dot,
    GroupDot, // seven rows per carrier (one per BASIC)
    Id,
    ParentId, // two rows per parent
    Seq,      // 1, 2 within a parent
    QuadId,   // four rows per parent
    PairSeq,  // 1, 1, 2, 2 within a parent
    BasicId,
    Company,
    Street,
    City,
    State,
    Zip,
    Phone,
    Email,
    Docket,
    Flag,
    Operation,
    Fleet,
    Count,
    Miles,
    Rate,
    Percent,
    Date,
    BirthDate,
    Time,
    Logical,
    Level,
    Weight,
    LastName,
    FirstName,
    License,
    UnitNumber,
    Plate,
    Vin,
    VehicleType,
    Make,
    ViolCode,
    ViolText,
    County,
    Weather,
    Light,
    Surface,
    EventCode,
    EventText,
    BasicCode,
    UserName,
    Version,
    Filler, // a column of the upgrade made present: a few digits, or a number
};

struct Column {
    std::string name;
    char type; // Paradox letter; M for memo
    int size;  // A: characters, M: leader bytes; ignored otherwise
    Content content;
};

struct TableDef {
    const char* name; // "Subject.DB"
    unsigned level;   // 4, 5 or 7
    unsigned blockSize;
    unsigned keyFields;          // leading columns
    const char* indexedColumn;   // the one secondary index, or null
    std::vector<Column> columns; // without any column the upgrade adds
};

// In the order the upgrade opens them.
const std::vector<TableDef>& ProfileTables();
// By table name, with or without ".DB", in any letter case; null when unknown.
const TableDef* FindProfileTable(const std::string& name);

struct UpgradeColumn {
    const char* table;
    const char* name;
    char type; // A, S or I
    int size;
};

// The 61 columns of the upgrade, in its order.
const std::vector<UpgradeColumn>& UpgradeColumns();
// The upgrade's column of a table by name in any letter case; null when it has none.
const UpgradeColumn* FindUpgradeColumn(const TableDef& table, const std::string& name);

// The lowest table level that holds a column of this type.
unsigned LevelNeeded(char type);
