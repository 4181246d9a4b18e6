#include "alias_names.h"
#include "status.h"
#include "win_file.h"
#include <cstring>
#include <windows.h>

namespace pdx {

std::vector<std::string> AliasNames(const std::string& configFile) {
    if (!FileExists(configFile))
        Fail(DBIERR_CONFIGERR, "No configuration file " + configFile);
    std::vector<char> names(65536);
    DWORD got =
        GetPrivateProfileSectionNamesA(names.data(), DWORD(names.size()), configFile.c_str());
    std::vector<std::string> aliases;
    for (const char* p = names.data(); p < names.data() + got && *p; p += std::strlen(p) + 1)
        aliases.emplace_back(p);
    return aliases;
}

} // namespace pdx
