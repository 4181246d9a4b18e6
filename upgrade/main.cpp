// The upgrade program: the whole upgrade runs while its data module is created.
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "runtime/program.h"
#include "tables/database_dialogs_unit.h"
#include "tables/tables_unit.h"
#include "upgrade/dm_quernel.h"

int main() {
    RunDataModuleProgram({&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit,
                          &ApplicationUnit, &TablesUnit, &DatabaseDialogsUnit},
                         dmQuernel);
}
