#include "alias_file.h"
#include <windows.h>

std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

bool WriteAlias(const std::string& iniFile, const std::string& alias, const std::string& folder) {
    // A relative name would land in the Windows folder.
    std::string file = FullPath(iniFile);
    return WritePrivateProfileStringA(alias.c_str(), "PATH", folder.c_str(), file.c_str()) &&
           WritePrivateProfileStringA(alias.c_str(), "DEFAULT DRIVER", "PARADOX", file.c_str());
}
