// What one profile table is made of, independent of how it is written: the creation request
// (columns, primary key of the leading columns, level and block size, password), the logical
// form of its values, and its secondary index.
#pragma once
#include "idapi.h"
#include "profile_schema.h"
#include "profile_values.h"
#include <cstdint>
#include <string>
#include <vector>

struct TableJob {
    const TableDef* def = nullptr;
    unsigned number = 0;       // position among the profile tables: part of the content seed
    std::vector<Column> extra; // columns of the upgrade made present, after the table's own
    std::string password;      // protects the table when not empty
    unsigned rows = 0;
    uint64_t seed = 1;
    bool index = true;        // the table's own secondary index, if it has one
    bool keyed = true;        // false: no primary key, and not the table's own index
    std::string unkeyedIndex; // without key: the column of an index not maintained, or ""
    bool oldValidity = false; // a validity file in the layout of the 3.x era
};

// The request for DbiCreateTable; it points into this object, which therefore stays put.
class ProfileTableDesc {
  public:
    explicit ProfileTableDesc(const TableJob& job);
    ProfileTableDesc(const ProfileTableDesc&) = delete;
    ProfileTableDesc& operator=(const ProfileTableDesc&) = delete;

    CRTblDesc* Request() { return &request_; }
    const std::vector<Column>& Columns() const { return columns_; }
    // The single-column index the job asks for, if any: maintained where the table is keyed.
    bool HasSecondaryIndex() const;
    IDXDesc SecondaryIndex() const;

  private:
    std::string IndexedColumn() const;

    const TableJob& job_;
    std::vector<Column> columns_;
    std::vector<FLDDesc> fields_;
    IDXDesc key_{};
    FLDDesc optionNames_[2] = {};
    uint8_t optionValues_[32] = {};
    CRTblDesc request_{};
};

// A value in the form the engine's field calls take: a C string for alpha, int16 for short
// and logical, int32 for long, date and time, double otherwise; null for an empty value.
class LogicalValue {
  public:
    LogicalValue(const Column& column, const Value& value);
    const void* Data() const { return data_; }

  private:
    std::string text_;
    int16_t short_ = 0;
    int32_t long_ = 0;
    double double_ = 0;
    const void* data_ = nullptr;
};
