#include "reporter/core/processing/exception_options.h"
#include "reporter/core/interception/delegation.h"
#include "reporter/core/options/module_data.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "runtime/module_names.h"
#include <memory>

namespace {

bool CarriesReporter(HMODULE module) {
    if (!module)
        return false;
    return module == ReporterModuleHandle() ? ReporterModuleHasData()
                                            : ModuleCarriesReporter(module);
}

// Another module's options: what its crash reporter last published, else what it was built
// with.
std::unique_ptr<TVessarModuleOptionsEx> OptionsOf(HMODULE module) {
    auto options = std::make_unique<TVessarModuleOptionsEx>(ModulePath(module));
    TKFModuleData data;
    LoadModuleData(module, *options, data);
    options->SetModuleHandle(module);
    options->Reload();
    return options;
}

// The options object of `module`: this crash reporter's own, or a copy kept in `copy`.
const TVessarModuleOptions* OptionsSource(HMODULE module,
                                          std::unique_ptr<TVessarModuleOptionsEx>& copy) {
    if (module == ReporterModuleHandle() || !CarriesReporter(module))
        return &CurrentVessarionOptions();
    copy = OptionsOf(module);
    return copy.get();
}

} // namespace

HMODULE ModuleForOptions(void* address, HMODULE callingModule) {
    HMODULE module = ModuleAt(address);
    if (!CarriesReporter(module))
        module = CarriesReporter(callingModule) ? callingModule : GetModuleHandleA(nullptr);
    return module;
}

void TakeModuleOptions(TVessarModuleOptionsEx& options, HMODULE module) {
    std::unique_ptr<TVessarModuleOptionsEx> copy;
    const TVessarModuleOptions* source = OptionsSource(module, copy);
    HMODULE program = GetModuleHandleA(nullptr);
    if ((source->Stored().BehaviourFlags & BehaviourFlag::UseMainModuleOptions) &&
        module != program && CarriesReporter(program)) {
        module = program;
        source = OptionsSource(module, copy);
    }
    // Detached while it takes the new values: a change publishes into the shared copy of the
    // options' module, and until now that was the previous exception's module.
    options.SetModuleHandle(nullptr);
    options.Assign(source);
    options.SetModuleName(ModulePath(module));
    options.SetModuleHandle(module);
    options.SetReproduceText("");
    if (HostIsDevelopmentEnvironment()) {
        options.SetDialogFlags(options.Stored().DialogFlags &
                               ~DialogFlag::OwnLook);
        options.SetText(kTextClassicProblem, "The IDE has raised an exception.\r\n ");
        options.SetText(kTextClassicRestart, "Restart the IDE");
    }
}
