#include "tables/engine_loader.h"
#include <string>
#include <vector>

namespace {

constexpr const char* kLibraryName = "IDAPI32.DLL";
constexpr const char* kEngineKey = "Software\\Corvane\\Database Engine";

class QuietErrorMode {
  public:
    QuietErrorMode() : saved_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~QuietErrorMode() { SetErrorMode(saved_); }
    QuietErrorMode(const QuietErrorMode&) = delete;
    QuietErrorMode& operator=(const QuietErrorMode&) = delete;

  private:
    UINT saved_;
};

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string InCurrentDirectory() {
    char folder[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string path = folder;
    if (path.back() != '\\')
        path += '\\';
    path += kLibraryName;
    return IsFile(path) ? path : std::string();
}

std::string RegistrySearchPath() {
    DWORD size = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kEngineKey, "DLLPATH", RRF_RT_REG_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS)
        return {};
    std::vector<char> value(size + 1);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kEngineKey, "DLLPATH", RRF_RT_REG_SZ, nullptr,
                     value.data(), &size) != ERROR_SUCCESS)
        return {};
    return value.data();
}

std::string OnRegistrySearchPath() {
    std::string searchPath = RegistrySearchPath();
    if (searchPath.empty())
        return {};
    char found[MAX_PATH] = {};
    DWORD length = SearchPathA(searchPath.c_str(), kLibraryName, nullptr, MAX_PATH, found, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(found) : std::string();
}

DBIResult StatusForLoadError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_MOD_NOT_FOUND:
        return DBIERR_NOSUCHFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return DBIERR_NOMEMORY;
    default:
        return DBIERR_OSERROR;
    }
}

} // namespace

TEngineLoad LoadEngineLibrary() {
    QuietErrorMode quiet;
    std::string path = InCurrentDirectory();
    if (path.empty())
        path = OnRegistrySearchPath();
    HMODULE module = LoadLibraryA(path.empty() ? kLibraryName : path.c_str());
    if (!module)
        return {nullptr, StatusForLoadError(GetLastError())};
    return {module, DBIERR_NONE};
}
