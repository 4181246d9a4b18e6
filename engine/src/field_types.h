// Paradox physical field types: stored sizes, the logical types callers see, and the table
// level each type needs.
#pragma once
#include "idapi.h"
#include <cstdint>
#include <string>

namespace pdx {

enum PxType : uint8_t {
    pxAlpha = 0x01,
    pxDate = 0x02,
    pxShort = 0x03,
    pxLong = 0x04,
    pxMoney = 0x05,
    pxNumber = 0x06,
    pxLogical = 0x09,
    pxMemo = 0x0C,
    pxBlob = 0x0D,
    pxFmtMemo = 0x0E,
    pxOle = 0x0F,
    pxGraphic = 0x10,
    pxTime = 0x14,
    pxTimestamp = 0x15,
    pxAutoInc = 0x16,
    pxBcd = 0x17,
    pxBytes = 0x18,
};

constexpr unsigned kBlobTail = 10;
constexpr unsigned kBcdStoredSize = 17;
constexpr unsigned kMaxFieldNameLength = 25;
constexpr unsigned kMaxFields = 255;

struct Field {
    uint8_t type = 0;
    uint8_t info = 0; // size byte of the header: stored size, or decimals for BCD
    std::string name;
    uint16_t id = 0; // persistent field ID (1..n in tables without the data header)
    uint16_t offset = 0;

    unsigned StoredSize() const { return type == pxBcd ? kBcdStoredSize : info; }
};

bool IsKnownType(uint8_t type);
bool IsBlobType(uint8_t type);
// Whether the header's size byte is legal for the type.
bool IsValidInfo(uint8_t type, uint8_t info);
// Lowest fileVersionID that may hold the type: 3 (3.0), 5 (4.x) or 11 (5.x).
uint8_t MinimumVersionFor(uint8_t type);

// The logical description of a field as DbiGetFieldDescs reports it.
void DescribeField(const Field& field, uint16_t number, FLDDesc& out);
// The physical type for a field a caller asks to add; fails with a status for types and sizes
// that cannot be added.
Field FieldFromDesc(const FLDDesc& desc);

bool IsValidFieldName(const std::string& name);
bool SameName(const std::string& a, const std::string& b);

} // namespace pdx
