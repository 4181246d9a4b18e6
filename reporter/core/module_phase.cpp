#include "reporter/core/module_phase.h"
#include "reporter/core/hooking/procedure_hooks.h"
#include "reporter/core/module_kfdata.h"
#include <atomic>
#include <string>

namespace {

constexpr uint8_t kInitializationEndsId = 16;
constexpr uint8_t kFinalizationBeginsId = 17;

using Procedure = void (*)();
Procedure originalInitializationEnds = nullptr;
Procedure originalFinalizationBegins = nullptr;
std::atomic<bool> initialising{false};
std::atomic<bool> finalising{false};

void InitializationEndsHook() {
    originalInitializationEnds();
    initialising = false;
}

void FinalizationBeginsHook() {
    finalising = true;
    originalFinalizationBegins();
}

void Watch(HMODULE module, const TKFDataContainer& container, uint8_t id, Procedure replacement,
           Procedure& original) {
    if (void* target = ProcedureAddress(module, container, id))
        original = reinterpret_cast<Procedure>(HookProcedure(
            target, reinterpret_cast<void*>(replacement), "SymbolID = " + std::to_string(id)));
}

void Unwatch(Procedure& original) {
    if (original)
        UnhookProcedure(reinterpret_cast<void*>(original));
    original = nullptr;
}

} // namespace

void WatchModulePhases(HMODULE module, const TKFDataContainer& container) {
    initialising = true; // the crash reporter starts among the module's first units
    finalising = false;
    Watch(module, container, kInitializationEndsId, InitializationEndsHook,
          originalInitializationEnds);
    Watch(module, container, kFinalizationBeginsId, FinalizationBeginsHook,
          originalFinalizationBegins);
}

void StopWatchingModulePhases() {
    Unwatch(originalFinalizationBegins);
    Unwatch(originalInitializationEnds);
}

bool ModuleInitialising() {
    return initialising;
}

bool ModuleFinalising() {
    return finalising;
}
