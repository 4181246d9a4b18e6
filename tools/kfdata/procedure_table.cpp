#include "procedure_table.h"

namespace {

constexpr uint32_t kCodeStart = 0x1000; // offsets count from the image base + 0x1000

} // namespace

const std::vector<KnownProcedure>& KnownProcedures() {
    static const std::vector<KnownProcedure> procedures = {
        {0, "TApplication::HandleException"}, {1, "TApplication::ShowException"},
        {11, "ClassesInitialization"},        {12, "ClassesFinalization"},
        {13, "UnitsInitializationBegins"},    {14, "SysUtilsInitialization"},
        {15, "SysUtilsFinalization"},         {16, "UnitsInitializationEnds"},
        {17, "UnitsFinalizationBegins"},      {18, "UnitsFinalizationEnds"},
    };
    return procedures;
}

std::vector<TKFDataProcedure> ProceduresIn(const LinkMap& map, std::vector<std::string>& missing) {
    std::vector<TKFDataProcedure> table;
    for (const auto& known : KnownProcedures()) {
        uint32_t address = map.Address(known.Name);
        if (address == 0) {
            missing.push_back(known.Name);
            continue;
        }
        table.push_back({known.Id, address - map.ImageBase - kCodeStart, map.SizeAt(address)});
    }
    return table;
}
