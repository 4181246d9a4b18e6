// A module file's description and version, and other strings of its version resource.
#pragma once
#include <string>

struct TFileVersionInfo {
    std::string Description; // FileDescription, trimmed
    std::string Version;     // "major.minor.release.build"; empty for none or "0.0.0.0"
};

TFileVersionInfo ReadFileVersionInfo(const std::string& path);

// A string of the file's version resource (e.g. "ProductVersion") under its first language and
// code page, trimmed; empty when the file has none.
std::string ReadVersionString(const std::string& path, const char* name);
