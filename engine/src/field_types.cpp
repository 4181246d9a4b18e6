#include "field_types.h"
#include "status.h"
#include <cstring>
#include <windows.h>

namespace pdx {

namespace {

struct TypeInfo {
    uint8_t type;
    uint8_t fixedSize; // 0: sized by the caller
    uint16_t logical;
    uint16_t subtype;
    uint8_t minVersion;
};

constexpr TypeInfo kTypes[] = {
    {pxAlpha, 0, fldZSTRING, 0, 3},
    {pxDate, 4, fldDATE, 0, 3},
    {pxShort, 2, fldINT16, 0, 3},
    {pxLong, 4, fldINT32, 0, 11},
    {pxMoney, 8, fldFLOAT, fldstMONEY, 3},
    {pxNumber, 8, fldFLOAT, 0, 3},
    {pxLogical, 1, fldBOOL, 0, 11},
    {pxMemo, 0, fldBLOB, fldstMEMO, 5},
    {pxBlob, 0, fldBLOB, fldstBINARY, 5},
    {pxFmtMemo, 0, fldBLOB, fldstFMTMEMO, 5},
    {pxOle, 0, fldBLOB, fldstOLEOBJ, 5},
    {pxGraphic, 0, fldBLOB, fldstGRAPHIC, 5},
    {pxTime, 4, fldTIME, 0, 11},
    {pxTimestamp, 8, fldTIMESTAMP, 0, 11},
    {pxAutoInc, 4, fldINT32, fldstAUTOINC, 11},
    {pxBcd, 0, fldBCD, 0, 11},
    {pxBytes, 0, fldBYTES, 0, 11},
};

const TypeInfo* Find(uint8_t type) {
    for (const auto& t : kTypes)
        if (t.type == type)
            return &t;
    return nullptr;
}

} // namespace

bool IsKnownType(uint8_t type) {
    return Find(type) != nullptr;
}

bool IsBlobType(uint8_t type) {
    return type >= pxMemo && type <= pxGraphic;
}

bool IsValidInfo(uint8_t type, uint8_t info) {
    const TypeInfo* t = Find(type);
    if (!t)
        return false;
    if (t->fixedSize)
        return info == t->fixedSize;
    if (type == pxBcd)
        return info <= 32;
    if (IsBlobType(type))
        return info >= kBlobTail + (type == pxMemo ? 1 : 0) && info <= kBlobTail + 240;
    return info >= 1; // alpha and bytes: 1..255
}

uint8_t MinimumVersionFor(uint8_t type) {
    const TypeInfo* t = Find(type);
    return t ? t->minVersion : 12;
}

void DescribeField(const Field& field, uint16_t number, FLDDesc& out) {
    std::memset(&out, 0, sizeof out);
    const TypeInfo* t = Find(field.type);
    out.iFldNum = number;
    std::strncpy(out.szName, field.name.c_str(), DBIMAXNAMELEN);
    out.iFldType = t->logical;
    out.iSubType = t->subtype;
    if (field.type == pxAlpha || field.type == pxBytes)
        out.iUnits1 = field.info;
    else if (IsBlobType(field.type))
        out.iUnits1 = int16_t(field.info - kBlobTail);
    else if (field.type == pxBcd) {
        out.iUnits1 = 32;
        out.iUnits2 = field.info;
    }
    out.iOffset = field.offset;
    out.iLen = uint16_t(field.StoredSize());
}

Field FieldFromDesc(const FLDDesc& desc) {
    Field f;
    f.name.assign(desc.szName, strnlen(desc.szName, sizeof desc.szName));
    auto fixed = [&](uint8_t type) {
        f.type = type;
        f.info = Find(type)->fixedSize;
    };
    switch (desc.iFldType) {
    case fldZSTRING:
    case fldBYTES:
        if (desc.iUnits1 < 1 || desc.iUnits1 > 255)
            Fail(DBIERR_INVALIDFLDSIZE, "Field: " + f.name);
        f.type = desc.iFldType == fldZSTRING ? pxAlpha : pxBytes;
        f.info = uint8_t(desc.iUnits1);
        break;
    case fldINT16: // the width is the engine's: any size the caller gives is ignored
        fixed(pxShort);
        break;
    case fldINT32:
        if (desc.iSubType == fldstAUTOINC)
            Fail(DBIERR_NOTSUPPORTED,
                 "Field: " + f.name + " (an added field cannot number existing records)");
        fixed(pxLong);
        break;
    case fldDATE:
        fixed(pxDate);
        break;
    case fldTIME:
        fixed(pxTime);
        break;
    case fldTIMESTAMP:
        fixed(pxTimestamp);
        break;
    case fldBOOL:
        fixed(pxLogical);
        break;
    case fldFLOAT:
        fixed(desc.iSubType == fldstMONEY ? pxMoney : pxNumber);
        break;
    case fldBCD:
        if (desc.iUnits2 < 0 || desc.iUnits2 > 32)
            Fail(DBIERR_INVALIDFLDSIZE, "Field: " + f.name);
        f.type = pxBcd;
        f.info = uint8_t(desc.iUnits2);
        break;
    case fldBLOB:
        Fail(DBIERR_NOTSUPPORTED, "Field: " + f.name + " (memo and BLOB fields cannot be added)");
    default:
        Fail(DBIERR_INVALIDFIELDTYPE, "Field: " + f.name);
    }
    return f;
}

bool IsValidFieldName(const std::string& name) {
    if (name.empty() || name.size() > kMaxFieldNameLength || name.front() == ' ')
        return false;
    if (name == "#" || name.find("->") != std::string::npos)
        return false;
    return name.find_first_of("[]{}") == std::string::npos;
}

bool SameName(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(),
                          int(b.size())) == CSTR_EQUAL;
}

} // namespace pdx
