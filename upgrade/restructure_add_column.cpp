#include "upgrade/restructure_add_column.h"
#include "tables/bde.h"
#include "tables/database_error.h"
#include "tables/engine_error.h"
#include <cstring>
#include <vector>

namespace {

void CheckPreconditions(const TTable* table) {
    if (!table->Active())
        throw EDatabaseError("Table must be opened to restructure");
    if (!table->Exclusive())
        throw EDatabaseError("Table must be opened exclusively to restructure");
}

// Existing descriptors as the engine delivered them, numbered 1..n, then the new column.
void FillDescriptors(std::vector<FLDDesc>& fields, const NewColumnDesc& desc) {
    const uint8_t count = uint8_t(fields.size() - 1); // tables of over 255 columns are not ours
    for (int i = 1; i <= count; ++i)
        fields[size_t(i - 1)].iFldNum = uint16_t(i);
    FLDDesc& added = fields.back();
    std::memcpy(added.szName, desc.name,
                strnlen(desc.name, sizeof added.szName - 1)); // up to its zero
    added.iFldType = desc.fldType;
    added.iSubType = desc.subType;
    added.iUnits1 = desc.units1;
    added.iUnits2 = int16_t(desc.units2);
    added.iFldNum = uint16_t(count + 1);
}

} // namespace

void RestructureAddColumn(TTable* table, const NewColumnDesc& column) {
    const NewColumnDesc desc = column;
    CheckPreconditions(table);
    CheckStatus(bde::DbiSetProp(table->Handle(), curXLTMODE, xltNONE));
    CURProps props{};
    CheckStatus(bde::DbiGetCursorProps(table->Handle(), &props));

    std::vector<FLDDesc> fields(size_t(table->ColumnCount()) + 1, FLDDesc{});
    CheckStatus(bde::DbiGetFieldDescs(table->Handle(), fields.data()));
    FillDescriptors(fields, desc);
    std::vector<CROpType> ops(size_t(table->ColumnCount()) + 1, crNOOP);
    ops.back() = crADD;

    CRTblDesc request{};
    hDBIObj database = 0;
    CheckStatus(bde::DbiGetObjFromObj(table->Handle(), objDATABASE, &database));
    std::strncpy(request.szTblName, table->TableName().c_str(), sizeof request.szTblName - 1);
    std::memcpy(request.szTblType, props.szTableType, sizeof request.szTblType);
    request.iFldCount = uint16_t(fields.size());
    request.pfldDesc = fields.data();
    request.pecrFldOp = ops.data();

    table->CloseTable();
    auto releaseAndReopen = [&] {
        std::vector<FLDDesc>().swap(fields);
        std::vector<CROpType>().swap(ops);
        table->OpenTable();
    };
    try {
        CheckStatus(bde::DbiDoRestructure(database, 1, &request, nullptr, nullptr, nullptr, 0));
    } catch (...) {
        releaseAndReopen(); // a failing reopen replaces the restructure's exception
        throw;
    }
    releaseAndReopen();
}
