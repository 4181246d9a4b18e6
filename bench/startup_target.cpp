// The program the start-up benchmark starts: it initialises its units and ends. Built twice,
// with the crash reporter (CRASH_REPORTER defined) and without it.
#include "runtime/units.h"
#ifdef CRASH_REPORTER
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/options/reporter_options_unit.h"
#endif

int main() {
#ifdef CRASH_REPORTER
    InitializeUnits({&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit});
#else
    InitializeUnits({});
#endif
    FinalizeUnits();
    return 0;
}
