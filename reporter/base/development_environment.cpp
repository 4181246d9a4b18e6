#include "reporter/base/development_environment.h"
#include "reporter/base/path_names.h"
#include <string>
#include <windows.h>

namespace {

constexpr char kDevelopmentEnvironmentExe[] = "DELPHI32.EXE";

} // namespace

// Compared without regard to case by the system's kernel rather than its window library, which
// a program start need not load.
bool IsDevelopmentEnvironmentFile(const std::string& path) {
    return lstrcmpiA(FileNameOf(path).c_str(), kDevelopmentEnvironmentExe) == 0;
}

bool HostIsDevelopmentEnvironment() {
    static const bool development = [] {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        return IsDevelopmentEnvironmentFile(path);
    }();
    return development;
}
