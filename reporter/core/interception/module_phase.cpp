#include "reporter/core/interception/module_phase.h"
#include "reporter/core/interception/hooking/procedure_hooks.h"
#include "reporter/core/interception/listed_procedures.h"
#include <atomic>

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
    original = reinterpret_cast<Procedure>(
        HookListedProcedure(module, container, id, reinterpret_cast<void*>(replacement)));
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
    UnhookKept(originalFinalizationBegins);
    UnhookKept(originalInitializationEnds);
}

bool ModuleInitialising() {
    return initialising;
}

bool ModuleFinalising() {
    return finalising;
}
