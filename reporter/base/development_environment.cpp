#include "reporter/base/development_environment.h"
#include "reporter/base/path_names.h"
#include <string>
#include <windows.h>

namespace {

constexpr char kDevelopmentEnvironmentExe[] = "DELPHI32.EXE";

// Compared without regard to case by the system's kernel rather than its window library, which
// a program start need not load.
bool MainExecutableIs(const char* fileName) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return lstrcmpiA(FileNameOf(path).c_str(), fileName) == 0;
}

} // namespace

bool HostIsDevelopmentEnvironment() {
    static const bool development = MainExecutableIs(kDevelopmentEnvironmentExe);
    return development;
}
