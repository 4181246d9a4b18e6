#include "reporter/send/kept_archives.h"
#include "reporter/base/path_names.h"
#include "runtime/format.h"
#include <algorithm>
#include <vector>
#include <windows.h>

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The attachment name, or with "_2", "_3", ... before the extension while that name is taken:
// without the time in the names every kept archive would have the same one.
std::string FreeName(const std::string& folder, const std::string& name) {
    std::string candidate = folder + name;
    for (int number = 2; Exists(candidate); ++number)
        candidate = folder + WithExtension(name, "") + Format("_%d", number) + ExtensionOf(name);
    return candidate;
}

struct TKeptArchive {
    std::string Name;
    FILETIME Kept{}; // the last write: a move keeps it, so it is when the archive was made
};

// Oldest first; names break ties, as they sort by the time in them when names carry it.
bool OlderFirst(const TKeptArchive& a, const TKeptArchive& b) {
    const LONG order = CompareFileTime(&a.Kept, &b.Kept);
    return order != 0 ? order < 0 : lstrcmpiA(a.Name.c_str(), b.Name.c_str()) < 0;
}

// The kept archives of `folder`: names that start like the archive's and end in ".zip".
std::vector<TKeptArchive> KeptArchives(const std::string& folder, const std::string& stem) {
    std::vector<TKeptArchive> archives;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + stem + "*.zip").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return archives;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            archives.push_back({found.cFileName, found.ftLastWriteTime});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(archives.begin(), archives.end(), OlderFirst);
    return archives;
}

void PruneKeptArchives(const std::string& folder, const std::string& stem) {
    const std::vector<TKeptArchive> archives = KeptArchives(folder, stem);
    for (size_t i = 0; i + kKeptArchivesLimit < archives.size(); ++i) {
        const std::string path = folder + archives[i].Name;
        SetFileAttributesA(path.c_str(),
                           GetFileAttributesA(path.c_str()) & ~FILE_ATTRIBUTE_READONLY);
        DeleteFileA(path.c_str());
    }
}

} // namespace

std::string KeepFailedArchive(const std::string& archivePath, const std::string& logFolder,
                              const TAttachmentNaming& naming) {
    const std::string folder = WithTrailingBackslash(logFolder);
    const std::string kept = FreeName(folder, AttachmentName(archivePath, naming));
    if (!MoveFileExA(archivePath.c_str(), kept.c_str(),
                     MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
        return {};
    PruneKeptArchives(folder, WithExtension(FileNameOf(archivePath), ""));
    return kept;
}
