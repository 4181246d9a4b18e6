#include "runtime/units.h"
#include "runtime/unit_hooks.h"
#include <vector>

namespace {

const TUnit kSysUtilsUnit{"SysUtils", SysUtilsInitialization, SysUtilsFinalization};
const TUnit kClassesUnit{"Classes", ClassesInitialization, ClassesFinalization};

std::vector<const TUnit*>& InitializedUnits() {
    static std::vector<const TUnit*> units;
    return units;
}

void Initialize(const TUnit* unit) {
    if (unit->Initialization)
        unit->Initialization();
    InitializedUnits().push_back(unit);
}

} // namespace

void InitializeUnits(TUnitList units) {
    UnitsInitializationBegins();
    if (InitializedUnits().empty()) {
        Initialize(&kSysUtilsUnit);
        Initialize(&kClassesUnit);
    }
    for (const TUnit* unit : units)
        Initialize(unit);
    UnitsInitializationEnds();
}

void FinalizeUnits() {
    UnitsFinalizationBegins();
    auto& units = InitializedUnits();
    while (!units.empty()) {
        const TUnit* unit = units.back();
        units.pop_back();
        if (unit->Finalization)
            unit->Finalization();
    }
    UnitsFinalizationEnds();
}
