#include "runtime/units.h"
#include <vector>

namespace {

std::vector<const TUnit*>& InitializedUnits() {
    static std::vector<const TUnit*> units;
    return units;
}

} // namespace

void InitializeUnits(TUnitList units) {
    for (const TUnit* unit : units) {
        if (unit->Initialization)
            unit->Initialization();
        InitializedUnits().push_back(unit);
    }
}

void FinalizeUnits() {
    auto& units = InitializedUnits();
    while (!units.empty()) {
        const TUnit* unit = units.back();
        units.pop_back();
        if (unit->Finalization)
            unit->Finalization();
    }
}
