#include "append_field.h"
#include "restructure.h"
#include "status.h"
#include "table_header.h"

AppendFieldRequest AppendRequest(const std::string& table, const char* name, uint16_t type,
                                 int16_t units) {
    using namespace pdx;
    File f = File::Open(table, Access::Read, Share::Shared, DBIERR_NOSUCHTABLE);
    TableHeader h = ReadHeader(f);
    std::vector<FLDDesc> fields(h.fields.size());
    for (size_t i = 0; i < h.fields.size(); ++i)
        DescribeField(h.fields[i], uint16_t(i + 1), fields[i]);
    FLDDesc added{};
    std::strncpy(added.szName, name, sizeof added.szName - 1);
    added.iFldType = type;
    added.iUnits1 = units;
    return AppendFieldRequest(std::move(fields), added);
}

void AppendField(const std::string& table, const char* name, uint16_t type, int16_t units) {
    AppendFieldRequest request = AppendRequest(table, name, type, units);
    pdx::RestructureTable(table, *request.Desc(), [](uint32_t) { return false; });
}
