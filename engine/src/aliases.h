// Database aliases: sections of the engine's configuration file, each with PATH= and
// DEFAULT DRIVER=PARADOX, names compared without regard to case.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace pdx {

// Where the configuration file is: the caller's choice at initialisation, else the registry
// value CONFIGFILE under HKLM\Software\Corvane\Database Engine, else IDAPI32.INI beside
// the engine library.
std::string ConfigFilePath(const std::string& requested);

using AliasParams = std::vector<std::pair<std::string, std::string>>;

// The parameters of an alias; fails with DBIERR_NOSUCHALIAS when it is not configured.
AliasParams ReadAlias(const std::string& configFile, const std::string& alias);
std::string AliasParam(const AliasParams& params, const std::string& name);

} // namespace pdx
