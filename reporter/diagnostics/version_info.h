// A module file's description and version, from its version resource.
#pragma once
#include <string>

struct TFileVersionInfo {
    std::string Description; // FileDescription, trimmed
    std::string Version;     // "major.minor.release.build"; empty for none or "0.0.0.0"
};

TFileVersionInfo ReadFileVersionInfo(const std::string& path);
