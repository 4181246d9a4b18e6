#include "reporter/core/reporter_options_unit.h"
#include "reporter/core/shared_options.h"
#include "runtime/format.h"
#include <memory>

namespace {

struct ReporterOptions {
    TVessarModuleOptionsEx current{""};
    std::unique_ptr<TVessarModuleOptionsEx> mainModule; // null when the module has no data
    TKFModuleData mainModuleData;
};

std::unique_ptr<ReporterOptions>& State() {
    static std::unique_ptr<ReporterOptions> state;
    return state;
}

std::string MainModuleFileName() {
    char name[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, name, MAX_PATH);
    return name;
}

void StartReporterOptions() {
    auto state = std::make_unique<ReporterOptions>();
    CreateSharedOptions(GetModuleHandleA(nullptr));
    auto options = std::make_unique<TVessarModuleOptionsEx>(MainModuleFileName());
    if (LoadModuleData(GetModuleHandleA(nullptr), *options, state->mainModuleData))
        state->mainModule = std::move(options);
    State() = std::move(state);
}

void StopReporterOptions() {
    State().reset();
    RemoveSharedOptions(GetModuleHandleA(nullptr));
}

ReporterOptions& Started() {
    if (!State())
        throw Exception("The crash reporter's options are used before it started.");
    return *State();
}

} // namespace

const TUnit ReporterOptionsUnit{"ReporterOptions", StartReporterOptions, StopReporterOptions};

TVessarModuleOptionsEx& CurrentOptions() {
    return Started().current;
}

TVessarModuleOptionsEx& CurrentVessarionOptions() {
    ReporterOptions& state = Started();
    if (!state.mainModule)
        throw Exception(Format("\r\nCannot use 'CurrentVessarionOptions' function in module "
                               "\"%s\" without activate Vessarion.\r\nTo activate Vessarion use "
                               "the new IDE \"Project/Vessarion Options...\" menu.",
                               MainModuleFileName().c_str()));
    return *state.mainModule;
}

bool MainModuleHasData() {
    return Started().mainModule != nullptr;
}

const TKFModuleData& MainModuleData() {
    return Started().mainModuleData;
}
