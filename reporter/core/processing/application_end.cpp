#include "reporter/core/processing/application_end.h"
#include "reporter/base/path_names.h"
#include "reporter/core/options/reporter_options_unit.h"
#include <string>
#include <windows.h>

namespace {

constexpr DWORD kRestartCreationFlags = CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS;
constexpr UINT kEndedExitCode = 1;

std::string& StartDirectory() {
    static std::string directory;
    return directory;
}

// Under the Visual Studio hosting process the program runs as "app.vshost.exe"; the new one is
// the application itself.
std::string RestartCommandLine() {
    std::string commandLine = GetCommandLineA();
    return HostIsDevelopmentEnvironment() ? WithoutEvery(commandLine, ".vshost") : commandLine;
}

} // namespace

void RecordStartDirectory() {
    char directory[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    StartDirectory() = length > 0 && length < MAX_PATH ? directory : "";
}

void TerminateApplication() {
    TerminateProcess(GetCurrentProcess(), kEndedExitCode);
    ExitProcess(kEndedExitCode); // only when the system would not end the process at once
}

void RestartApplication() {
    std::string commandLine = RestartCommandLine();
    const std::string& directory = StartDirectory();
    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, kRestartCreationFlags,
                       nullptr, directory.empty() ? nullptr : directory.c_str(), &startup,
                       &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    TerminateApplication();
}
