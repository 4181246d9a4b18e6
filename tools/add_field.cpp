#include "add_field.h"
#include <cstring>

void AddField(Session& s, const char* table, const FLDDesc& added) {
    hDBICur cur = s.Open(table, true);
    Check(Dbi().DbiSetProp(cur, curXLTMODE, xltNONE));
    CURProps props;
    std::vector<FLDDesc> fields = Fields(cur, props);
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i].iFldNum = uint16_t(i + 1);
    fields.push_back(added);
    fields.back().iFldNum = uint16_t(fields.size());
    std::vector<CROpType> ops(fields.size(), crNOOP);
    ops.back() = crADD;
    hDBIObj db = 0;
    Check(Dbi().DbiGetObjFromObj(cur, objDATABASE, &db));
    CRTblDesc desc{};
    std::strncpy(desc.szTblName, table, DBIMAXTBLNAMELEN);
    std::memcpy(desc.szTblType, props.szTableType, sizeof desc.szTblType);
    desc.iFldCount = uint16_t(fields.size());
    desc.pfldDesc = fields.data();
    desc.pecrFldOp = ops.data();
    Check(Dbi().DbiCloseCursor(&cur));
    Check(Dbi().DbiDoRestructure(db, 1, &desc, nullptr, nullptr, nullptr, 0));
}
