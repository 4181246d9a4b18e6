#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/hooking/import_hooks.h"
#include "reporter/core/interception/hooking/procedure_hooks.h"
#include "reporter/core/interception/hooking/unit_step.h"
#include "reporter/core/interception/hooking/virtual_method_hooks.h"

void RemoveAllHooks() {
    RestoreAllImports();
    HookedMethods().UnhookAll();
    UnhookAllProcedures();
}

namespace {

// The lists exist before the first hook, whichever comes first.
void CreateLists() {
    HookedMethods();
}

} // namespace

const TUnit HookingUnit{"EHook", [] { RunUnitStep("EHook.Init", CreateLists); },
                        [] { RunUnitStep("EHook.Done", RemoveAllHooks); }};
