#include "reporter/diagnostics/lists/file_versions.h"
#include <windows.h>

namespace {

// The file a bare name stands for, found on the search path as the loader finds it (another
// process's snapshot entry may give only its executable's name); empty when there is none.
std::string LocatedFile(const std::string& name) {
    if (name.find_first_of("\\/:") != std::string::npos)
        return name;
    char path[MAX_PATH] = {};
    char* namePart = nullptr;
    const DWORD length = SearchPathA(nullptr, name.c_str(), nullptr, MAX_PATH, path, &namePart);
    return length > 0 && length < MAX_PATH ? path : std::string();
}

} // namespace

TFileVersionInfo TFileVersions::Of(const std::string& name) {
    const std::string path = LocatedFile(name);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return ReadFileVersionInfo(name);
    const TStamp stamp{(uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) |
                           data.ftLastWriteTime.dwLowDateTime,
                       (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
    auto found = entries_.find(path);
    if (found == entries_.end() || found->second.Stamp != stamp)
        found = entries_.insert_or_assign(path, TEntry{stamp, ReadFileVersionInfo(path)}).first;
    found->second.Used = true;
    return found->second.Info;
}

void TFileVersions::DropUnused() {
    std::erase_if(entries_, [](const auto& entry) { return !entry.second.Used; });
    for (auto& [path, entry] : entries_)
        entry.Used = false;
}
