// One alias in an engine configuration file (an INI file, one section per alias).
#pragma once
#include <optional>
#include <string>

// Full path of a file or folder named relative to the current folder.
std::string FullPath(const std::string& path);

// Sets PATH=<folder> and DEFAULT DRIVER=PARADOX in section [<alias>], and USER NAME=<userName>
// when one is given, making the file when missing and keeping its other sections. False when
// the file cannot be written.
bool WriteAlias(const std::string& iniFile, const std::string& alias, const std::string& folder,
                const std::optional<std::string>& userName);
