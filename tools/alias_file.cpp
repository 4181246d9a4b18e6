#include "alias_file.h"
#include <windows.h>

std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

bool WriteAlias(const std::string& iniFile, const std::string& alias, const std::string& folder,
                const std::optional<std::string>& userName) {
    // A relative name would land in the Windows folder.
    std::string file = FullPath(iniFile);
    auto put = [&](const char* key, const std::string& value) {
        return WritePrivateProfileStringA(alias.c_str(), key, value.c_str(), file.c_str()) != 0;
    };
    return put("PATH", folder) && put("DEFAULT DRIVER", "PARADOX") &&
           (!userName || put("USER NAME", *userName));
}
