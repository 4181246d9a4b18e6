#include "reporter/core/interception/listed_procedures.h"
#include "reporter/core/interception/hooking/procedure_hooks.h"
#include "reporter/diagnostics/debug_formats/module_kfdata.h"
#include <string>

void* HookListedProcedure(HMODULE module, const TKFDataContainer& container, uint8_t id,
                          void* replacement) {
    void* target = ProcedureAddress(module, container, id);
    return target ? HookProcedure(target, replacement, "SymbolID = " + std::to_string(id))
                  : nullptr;
}
