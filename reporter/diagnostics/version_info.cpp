#include "reporter/diagnostics/version_info.h"
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

// The description under the resource's first language and code page.
std::string Description(const std::vector<char>& data) {
    struct Translation {
        WORD Language;
        WORD CodePage;
    }* translations = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &size) ||
        size < sizeof(Translation))
        return {};
    const std::string key = Format("\\StringFileInfo\\%04x%04x\\FileDescription",
                                   translations->Language, translations->CodePage);
    char* text = nullptr;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &size) ||
        !text)
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

} // namespace

TFileVersionInfo ReadFileVersionInfo(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (!size)
        return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return {};
    return {Description(data), Version(data)};
}
