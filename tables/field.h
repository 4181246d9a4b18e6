// A column of an open table, as the engine describes it.
#pragma once
#include "idapi.h"
#include <string>

class TField {
  public:
    explicit TField(const FLDDesc& desc);

    const std::string& FieldName() const { return fieldName_; }
    int FieldNo() const { return fieldNo_; }
    // The engine's logical type (fldZSTRING, fldINT16, ...) and subtype.
    uint16_t DataType() const { return dataType_; }
    uint16_t SubType() const { return subType_; }
    // The first unit count: characters for a string column.
    int Size() const { return size_; }

  private:
    std::string fieldName_;
    int fieldNo_;
    uint16_t dataType_;
    uint16_t subType_;
    int size_;
};
