#include "reporter/diagnostics/lists/version_info.h"
#include "runtime/format.h"
#include <vector>
#include <windows.h>

namespace {

std::string Trimmed(std::string text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// A string of the resource under its first language and code page.
std::string StringValue(const std::vector<char>& data, const char* name) {
    struct Translation {
        WORD Language;
        WORD CodePage;
    }* translations = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &size) ||
        size < sizeof(Translation))
        return {};
    const std::string key = Format("\\StringFileInfo\\%04x%04x\\%s", translations->Language,
                                   translations->CodePage, name);
    char* text = nullptr;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &size) || !text)
        return {};
    return Trimmed(std::string(text, size ? size - 1 : 0));
}

std::string Version(const std::vector<char>& data) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &size) || !fixed)
        return {};
    const std::string version =
        Format("%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
               HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    return version == "0.0.0.0" ? std::string() : version;
}

std::vector<char> VersionData(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (!size)
        return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return {};
    return data;
}

} // namespace

TFileVersionInfo ReadFileVersionInfo(const std::string& path) {
    const std::vector<char> data = VersionData(path);
    if (data.empty())
        return {};
    return {StringValue(data, "FileDescription"), Version(data)};
}

std::string ReadVersionString(const std::string& path, const char* name) {
    const std::vector<char> data = VersionData(path);
    return data.empty() ? std::string() : StringValue(data, name);
}
