// The description of a column to append: what the upgrade hands to the restructure.
#pragma once
#include <cstdint>

#pragma pack(push, 1)
struct NewColumnDesc {
    char name[32]; // zero-terminated, zero-padded
    uint16_t fldType;
    uint16_t subType;
    int16_t units1;
    uint8_t units2;
};
#pragma pack(pop)

static_assert(sizeof(NewColumnDesc) == 39, "packed with no gaps");
