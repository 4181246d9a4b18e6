// The upgrade program: the whole upgrade runs while its data module is created.
#include "reporter/core/hooking/hooking_unit.h"
#include "reporter/core/interception_unit.h"
#include "reporter/core/reporter_options_unit.h"
#include "runtime/program.h"
#include "tables/tables_unit.h"
#include "upgrade/dm_quernel.h"

int main() {
    RunDataModuleProgram({&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit,
                          &ApplicationUnit, &TablesUnit},
                         dmQuernel);
}
