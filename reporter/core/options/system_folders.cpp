#include "reporter/core/options/system_folders.h"
#include "reporter/base/path_names.h"
#include "runtime/module_names.h"
#include <windows.h>

namespace {

constexpr int kApplicationDataFolderId = 26;

using GetFolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

// shfolder.dll is loaded only for this call, so that programs that never need the folder do
// not import the shell.
std::string ShellApplicationDataFolder() {
    HMODULE library = LoadLibraryA("shfolder.dll");
    if (library == nullptr)
        return {};
    auto getFolderPath = reinterpret_cast<GetFolderPathFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "SHGetFolderPathA")));
    char folder[MAX_PATH] = {};
    bool found = getFolderPath != nullptr &&
                 getFolderPath(nullptr, kApplicationDataFolderId, nullptr, 0, folder) == S_OK;
    FreeLibrary(library);
    return found ? folder : std::string();
}

std::string EnvironmentApplicationDataFolder() {
    char folder[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("AppData", folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? folder : std::string();
}

bool IsWindows9xFamily() {
    return (GetVersion() & 0x80000000u) != 0;
}

std::string WindowsDirectory() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

} // namespace

std::string ApplicationDataFolder() {
    std::string folder = ShellApplicationDataFolder();
    if (folder.empty())
        folder = EnvironmentApplicationDataFolder();
    return folder.empty() ? "\\" : folder;
}

std::string ReporterFolder() {
    return IsWindows9xFamily() ? WindowsDirectory() : ApplicationDataFolder() + "\\Vessarion";
}

std::string ExecutableFilesFolder() {
    return WithTrailingBackslash(ReporterFolder()) + WithExtension(ModuleFileName(nullptr), "");
}

std::string TemporaryFolder() {
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH + 1, folder);
    return folder;
}
