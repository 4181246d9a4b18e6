#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/interception/hooking/unit_step.h"
#include "reporter/core/options/module_data.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/core/options/shared_options.h"
#include "runtime/format.h"
#include <memory>

namespace {

struct ReporterOptions {
    TVessarModuleOptionsEx current{""};
    std::unique_ptr<TVessarModuleOptionsEx> module; // null when the module has no data
    TKFModuleData moduleData;
};

std::unique_ptr<ReporterOptions>& State() {
    static std::unique_ptr<ReporterOptions> state;
    return state;
}

void StartReporterOptions() {
    auto state = std::make_unique<ReporterOptions>();
    CreateSharedOptions(ReporterModuleHandle());
    auto options = std::make_unique<TVessarModuleOptionsEx>(ReporterModuleFileName());
    // The line table is read when an address is first looked up, not at every start.
    if (LoadModuleData(ReporterModuleHandle(), *options, state->moduleData,
                       TKFDataParts::WithoutLineTable))
        state->module = std::move(options);
    State() = std::move(state);
    InstallModuleDataReader(ReadModuleDataWithOptions);
}

void StopReporterOptions() {
    InstallModuleDataReader(nullptr);
    State().reset();
    RemoveSharedOptions(ReporterModuleHandle());
}

ReporterOptions& Started() {
    if (!State())
        throw Exception("The crash reporter's options are used before it started.");
    return *State();
}

} // namespace

const TUnit ReporterOptionsUnit{"ECore", [] { RunUnitStep("ECore.Init", StartReporterOptions); },
                                [] { RunUnitStep("ECore.Done", StopReporterOptions); }};

TVessarModuleOptionsEx& CurrentOptions() {
    return Started().current;
}

TVessarModuleOptionsEx& CurrentVessarionOptions() {
    ReporterOptions& state = Started();
    if (!state.module)
        throw Exception(Format("\r\nCannot use 'CurrentVessarionOptions' function in module "
                               "\"%s\" without activate Vessarion.\r\nTo activate Vessarion use "
                               "the new IDE \"Project/Vessarion Options...\" menu.",
                               ReporterModuleFileName().c_str()));
    return *state.module;
}

bool ReporterModuleHasData() {
    return Started().module != nullptr;
}

const TKFModuleData& ReporterModuleData() {
    return Started().moduleData;
}
