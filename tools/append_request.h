// The restructure request that appends one field to a table and keeps every other field as it
// is: the one the tools send, and the one the engine's tests send.
#pragma once
#include "idapi.h"
#include <cstring>
#include <utility>
#include <vector>

class AppendFieldRequest {
  public:
    // fields: the table's own, as the engine describes them. table and tableType name the
    // table for DbiDoRestructure; the engine core takes the table's path instead.
    AppendFieldRequest(std::vector<FLDDesc> fields, const FLDDesc& added, const char* table = "",
                       const char* tableType = "")
        : fields_(std::move(fields)) {
        fields_.push_back(added);
        for (size_t i = 0; i < fields_.size(); ++i)
            fields_[i].iFldNum = uint16_t(i + 1);
        ops_.assign(fields_.size(), crNOOP);
        ops_.back() = crADD;
        std::strncpy(desc_.szTblName, table, sizeof desc_.szTblName - 1);
        std::strncpy(desc_.szTblType, tableType, sizeof desc_.szTblType - 1);
        desc_.iFldCount = uint16_t(fields_.size());
    }

    // Valid while the request lives.
    CRTblDesc* Desc() {
        desc_.pfldDesc = fields_.data();
        desc_.pecrFldOp = ops_.data();
        return &desc_;
    }

  private:
    std::vector<FLDDesc> fields_;
    std::vector<CROpType> ops_;
    CRTblDesc desc_{};
};
