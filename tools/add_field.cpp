#include "add_field.h"
#include "append_request.h"

void AddField(Session& s, const char* table, const FLDDesc& added) {
    hDBICur cur = s.Open(table, true);
    Check(Dbi().DbiSetProp(cur, curXLTMODE, xltNONE));
    CURProps props;
    std::vector<FLDDesc> fields = Fields(cur, props);
    AppendFieldRequest request(std::move(fields), added, table, props.szTableType);
    hDBIObj db = 0;
    Check(Dbi().DbiGetObjFromObj(cur, objDATABASE, &db));
    Check(Dbi().DbiCloseCursor(&cur));
    Check(Dbi().DbiDoRestructure(db, 1, request.Desc(), nullptr, nullptr, nullptr, 0));
}
