#include "reporter/core/hooking/hooking_unit.h"
#include "reporter/core/hooking/import_hooks.h"
#include "reporter/core/hooking/procedure_hooks.h"
#include "reporter/core/hooking/virtual_method_hooks.h"

void RemoveAllHooks() {
    RestoreAllImports();
    HookedMethods().UnhookAll();
    UnhookAllProcedures();
}

const TUnit HookingUnit{"EHook", nullptr, RemoveAllHooks};
