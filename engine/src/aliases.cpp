#include "aliases.h"
#include "field_types.h"
#include "status.h"
#include "win_file.h"
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace pdx {

namespace {

constexpr const char* kEngineKey = "Software\\Corvane\\Database Engine";

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::string RegistryConfigFile() {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kEngineKey, "CONFIGFILE", RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return {};
    return value;
}

} // namespace

std::string ConfigFilePath(const std::string& requested) {
    if (!requested.empty())
        return requested;
    std::string fromRegistry = RegistryConfigFile();
    if (!fromRegistry.empty())
        return fromRegistry;
    char module[MAX_PATH] = {};
    GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), module, MAX_PATH);
    return JoinPath(FolderOf(module), "IDAPI32.INI");
}

AliasParams ReadAlias(const std::string& configFile, const std::string& alias) {
    if (!FileExists(configFile))
        Fail(DBIERR_NOSUCHALIAS, "Alias: " + alias + " (no configuration file " + configFile + ")");
    std::vector<char> names(65536);
    DWORD got =
        GetPrivateProfileSectionNamesA(names.data(), DWORD(names.size()), configFile.c_str());
    std::string section;
    for (const char* p = names.data(); p < names.data() + got && *p; p += strlen(p) + 1)
        if (SameName(Trim(p), Trim(alias)))
            section = p;
    if (section.empty())
        Fail(DBIERR_NOSUCHALIAS, "Alias: " + alias);
    std::vector<char> body(65536);
    got = GetPrivateProfileSectionA(section.c_str(), body.data(), DWORD(body.size()),
                                    configFile.c_str());
    AliasParams params;
    for (const char* p = body.data(); p < body.data() + got && *p; p += strlen(p) + 1) {
        std::string line = p;
        size_t eq = line.find('=');
        if (eq != std::string::npos && line[0] != ';')
            params.emplace_back(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }
    return params;
}

std::string AliasParam(const AliasParams& params, const std::string& name) {
    for (const auto& [key, value] : params)
        if (SameName(key, name))
            return value;
    return {};
}

} // namespace pdx
