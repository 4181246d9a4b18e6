// pdxtool's fill table: Id (the key when keyed), Name A40, Score S, Amount N and Note A120, and
// the values of its rows. The restructure benchmark writes the same table.
#pragma once
#include "idapi.h"
#include <string>

constexpr int kFillFieldCount = 5;

// The creation request; it points into this object, which therefore stays put.
class FillTableRequest {
  public:
    FillTableRequest(const char* tableName, bool keyed, const char* password = nullptr);
    FillTableRequest(const FillTableRequest&) = delete;
    FillTableRequest& operator=(const FillTableRequest&) = delete;
    CRTblDesc* Request() { return &request_; }

  private:
    FLDDesc fields_[kFillFieldCount];
    IDXDesc key_{};
    CRTblDesc request_{};
};

// Row i (from 1): its values in the form the engine's field calls take.
class FillRow {
  public:
    explicit FillRow(long i);
    const void* Value(int field) const;

  private:
    int32_t id_;
    std::string name_;
    int16_t score_;
    double amount_;
    std::string note_;
};
