#include "reporter/diagnostics/lists/list_text.h"
#include "reporter/base/path_names.h"
#include "runtime/format.h"
#include <algorithm>

std::string KilobytesText(uint64_t bytes) {
    if (bytes == 0)
        return {};
    return Format("%llu Kb", static_cast<unsigned long long>((bytes + 512) / 1024));
}

std::string CountText(DWORD count) {
    return count ? std::to_string(count) : "??";
}

std::string FileDateText(const FILETIME& universal) {
    FILETIME local{};
    SYSTEMTIME time{};
    if ((universal.dwLowDateTime == 0 && universal.dwHighDateTime == 0) ||
        !FileTimeToLocalFileTime(&universal, &local) || !FileTimeToSystemTime(&local, &time))
        return {};
    return Format("%04d-%02d-%02d %02d:%02d:%02d", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond);
}

std::string FolderText(const std::string& path) {
    const std::string native = "\\??\\";
    std::string folder = FolderOf(path.rfind(native, 0) == 0 ? path.substr(native.size()) : path);
    if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':')
        folder.pop_back();
    return folder;
}

std::string PrintableText(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return uint8_t(c) < 32 || c == 127; }, '?');
    return text;
}
