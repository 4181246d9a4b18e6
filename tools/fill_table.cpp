#include "fill_table.h"
#include "field_letters.h"
#include <cstring>

FillTableRequest::FillTableRequest(const char* tableName, bool keyed, const char* password)
    : fields_{DescriptorFor("Id", 'I', 0), DescriptorFor("Name", 'A', 40),
              DescriptorFor("Score", 'S', 0), DescriptorFor("Amount", 'N', 0),
              DescriptorFor("Note", 'A', 120)} {
    key_.bPrimary = 1;
    key_.iFldsInKey = 1;
    key_.aiKeyFld[0] = 1;
    std::strncpy(request_.szTblName, tableName, DBIMAXTBLNAMELEN);
    std::strcpy(request_.szTblType, "PARADOX");
    request_.iFldCount = kFillFieldCount;
    request_.pfldDesc = fields_;
    request_.iIdxCount = keyed ? 1 : 0;
    request_.pidxDesc = &key_;
    if (password) {
        request_.bProtected = 1;
        std::strncpy(request_.szPassword, password, DBIMAXPATHLEN);
    }
}

FillRow::FillRow(long i)
    : id_(int32_t(i)), name_("Name " + std::to_string(i)), score_(int16_t(i % 20000 - 10000)),
      amount_(double(i) / 8.0),
      note_("Note for record " + std::to_string(i) + std::string(size_t(i % 60), '.')) {}

const void* FillRow::Value(int field) const {
    switch (field) {
    case 0:
        return &id_;
    case 1:
        return name_.c_str();
    case 2:
        return &score_;
    case 3:
        return &amount_;
    default:
        return note_.c_str();
    }
}
