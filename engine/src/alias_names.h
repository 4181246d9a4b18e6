// Listing the aliases that the engine's configuration file defines.
#pragma once
#include <string>
#include <vector>

namespace pdx {

// Every section of the configuration file, in file order; fails with DBIERR_CONFIGERR when the
// file does not exist.
std::vector<std::string> AliasNames(const std::string& configFile);

} // namespace pdx
