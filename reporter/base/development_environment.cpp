#include "reporter/base/development_environment.h"
#include "reporter/base/path_names.h"
#include <string>
#include <windows.h>

namespace {

constexpr char kDevelopmentEnvironmentExe[] = "DELPHI32.EXE";

bool MainExecutableIs(const char* fileName) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name = FileNameOf(path);
    CharUpperBuffA(name.data(), DWORD(name.size()));
    return name == fileName;
}

} // namespace

bool HostIsDevelopmentEnvironment() {
    static const bool development = MainExecutableIs(kDevelopmentEnvironmentExe);
    return development;
}
