#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/interception/cgi_output.h"
#include "reporter/core/interception/delegation.h"
#include "reporter/core/interception/extension_output.h"
#include "reporter/core/interception/hooking/import_hooks.h"
#include "reporter/core/interception/hooking/unit_step.h"
#include "reporter/core/interception/memory_reserve.h"
#include "reporter/core/interception/module_phase.h"
#include "reporter/core/interception/os_exception_hook.h"
#include "reporter/core/interception/raise_imports.h"
#include "reporter/core/interception/runtime_hooks.h"
#include "reporter/core/interception/thread_tracking.h"
#include "reporter/core/interception/unhandled_exception_filter.h"
#include "reporter/core/interception/unhandled_exception_hook.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/processing/processing_lock.h"
#include "reporter/core/processing/processing_services.h"

namespace {

constexpr DWORD kProcessingWaitMs = 30000;

// Only a module with crash reporter data has the reporter active.
bool active = false;
// Hooks go in everywhere but in the development environment.
bool hooked = false;

void Hook() {
    WatchModulePhases(ReporterModuleHandle(), ReporterModuleData().Container);
    HookUnhandledExceptionProcedure();
    HookOSExceptionConversion();
    HookRaise();
    HookHandlerEnd();
    HookApplicationProcedures(ReporterModuleHandle(), ReporterModuleData().Container);
    StartThreadTracking();
    HookRaiseImports();
    StartWatchingCgiOutput();
    StartWatchingExtensionOutput(ReporterModuleHandle());
}

// The replaced thread and output calls use state that goes now: their entries go back first,
// here rather than with the hooking layer at the very end.
void Unhook() {
    RestoreAllImports();
    StopWatchingExtensionOutput();
    StopWatchingCgiOutput();
    StopThreadTracking();
    UnhookApplicationProcedures();
    UnhookHandlerEnd();
    UnhookRaise();
    UnhookOSExceptionConversion();
    UnhookUnhandledExceptionProcedure();
    StopWatchingModulePhases();
}

void Start() {
    RunUnitStep("ExceptionLog.Init", [] {
        active = ReporterModuleHasData();
        if (!active)
            return;
        DecideDelegation();
        StartProcessingServices();
        hooked = !HostIsDevelopmentEnvironment();
        if (hooked)
            Hook();
        if (Delegating())
            return; // the program's instance keeps the reserve and the one filter
        ReserveMemoryForReports();
        InstallUnhandledExceptionFilter();
    });
}

void Stop() {
    RunUnitStep("ExceptionLog.Done", [] {
        if (!active)
            return;
        // Another thread may be reporting right now, with the options, hooks and lists that go
        // below. The wait has an end: a processing that never ends must not keep the program.
        WaitForProcessing(kProcessingWaitMs);
        StopProcessingServices();
        if (!Delegating()) {
            RemoveUnhandledExceptionFilter();
            ReleaseMemoryForReports();
        }
        if (hooked)
            Unhook();
        hooked = false;
    });
}

} // namespace

const TUnit ReporterInterceptionUnit{"ExceptionLog", Start, Stop};
