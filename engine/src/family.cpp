#include "family.h"
#include "status.h"
#include "win_file.h"
#include <cctype>
#include <windows.h>

namespace pdx {

namespace {

constexpr const char* kTempSuffix = "~new";
constexpr const char* kJournalSuffix = "~commit";
constexpr const char* kJournalEnd = "END";

std::vector<std::string> ListMatching(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(data.cFileName);
    } while (FindNextFileA(h, &data));
    FindClose(h);
    return names;
}

bool IsSecondaryExtension(const std::string& ext) {
    // ".X" + two digits or ".XG" + one hex digit
    if (ext.size() != 4 || ext[0] != '.' || std::toupper(static_cast<unsigned char>(ext[1])) != 'X')
        return false;
    if (std::toupper(static_cast<unsigned char>(ext[2])) == 'G')
        return std::isxdigit(static_cast<unsigned char>(ext[3])) != 0;
    return std::isxdigit(static_cast<unsigned char>(ext[2])) &&
           std::isxdigit(static_cast<unsigned char>(ext[3]));
}

std::string ExistingWithExtension(const std::string& stem, const char* ext) {
    std::string path = stem + ext;
    return FileExists(path) ? path : std::string();
}

std::string JournalOf(const std::string& tablePath) {
    return tablePath + kJournalSuffix;
}

std::string ReadWholeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string text;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
        text.append(buf, got);
    CloseHandle(h);
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

Family FindFamily(const std::string& tablePath) {
    Family f;
    f.table = tablePath;
    std::string stem = StemOf(tablePath);
    f.primaryIndex = ExistingWithExtension(stem, ".PX");
    f.validity = ExistingWithExtension(stem, ".VAL");
    std::string folder = FolderOf(tablePath);
    std::string base = stem.substr(stem.find_last_of("\\/:") + 1);
    for (const auto& name : ListMatching(stem + ".X*")) {
        if (IsSecondaryExtension(ExtensionOf(name)) && SameNameAscii(StemOf(name), base))
            f.secondary.push_back(JoinPath(folder, name));
    }
    return f;
}

bool SameNameAscii(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string SecondaryTreeOf(const std::string& secondaryPath) {
    std::string ext = ExtensionOf(secondaryPath);
    std::string tree = ext;
    tree[1] = std::islower(static_cast<unsigned char>(ext[1])) ? 'y' : 'Y';
    return StemOf(secondaryPath) + tree;
}

std::string TemporaryName(const std::string& target) {
    return target + kTempSuffix;
}

void DiscardTemporaries(const std::vector<std::string>& targets) {
    for (const auto& t : targets)
        DeleteFileA(TemporaryName(t).c_str());
}

void WriteJournal(const std::string& tablePath, const std::vector<std::string>& targets) {
    // File names only: the folder may be moved or reached by another path before recovery.
    std::string text;
    for (const auto& t : targets)
        text += t.substr(t.find_last_of("\\/:") + 1) + "\n";
    text += std::string(kJournalEnd) + "\n";
    std::string journal = JournalOf(tablePath);
    try {
        File j = File::Create(journal);
        j.WriteAt(0, text.data(), text.size());
        j.Flush();
    } catch (...) {
        DeleteFileA(journal.c_str()); // half a journal would roll back anyway; leave none
        throw;
    }
}

namespace {

// A rename can meet the table opened for a moment by another process's recovery, or find the
// rename already done by it: retry briefly, and count a vanished temporary as done.
void MoveIntoPlace(const std::string& temp, const std::string& target) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExA(temp.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        DWORD error = GetLastError();
        if (!FileExists(temp))
            return;
        if (attempt == 200)
            Fail(DBIERR_TABLEINUSE, "File: " + target + " (system error " + std::to_string(error) +
                                        "; the change completes at the next open)");
        Sleep(10);
    }
}

} // namespace

void FinishCommit(const std::string& tablePath, const std::vector<std::string>& targets) {
    for (const auto& t : targets)
        MoveIntoPlace(TemporaryName(t), t);
    DeleteFileA(JournalOf(tablePath).c_str()); // a concurrent recovery may have removed it
}

void CommitFamily(const std::string& tablePath, const std::vector<std::string>& targets) {
    WriteJournal(tablePath, targets);
    FinishCommit(tablePath, targets);
}

void RecoverFamily(const std::string& tablePath) {
    std::string journal = JournalOf(tablePath);
    std::vector<std::string> leftovers = ListMatching(StemOf(tablePath) + ".*" + kTempSuffix);
    if (!FileExists(journal) && leftovers.empty())
        return;
    // A table held exclusively is being restructured right now: its files are not ours to touch.
    HANDLE probe = CreateFileA(tablePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION)
        return;
    if (probe != INVALID_HANDLE_VALUE)
        CloseHandle(probe);
    if (FileExists(journal)) {
        std::vector<std::string> lines = Lines(ReadWholeFile(journal));
        bool complete = !lines.empty() && lines.back() == kJournalEnd;
        if (complete)
            lines.pop_back();
        std::string folder = FolderOf(tablePath);
        for (const auto& name : lines) {
            std::string t = JoinPath(folder, name.substr(name.find_last_of("\\/:") + 1));
            std::string temp = TemporaryName(t);
            if (!FileExists(temp))
                continue;
            bool done = complete ? MoveFileExA(temp.c_str(), t.c_str(),
                                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                                 : DeleteFileA(temp.c_str());
            if (!done)
                return; // keep the journal: the next open finishes the job
        }
        if (!DeleteFileA(journal.c_str()))
            return;
    }
    std::string folder = FolderOf(tablePath);
    for (const auto& name : leftovers)
        DeleteFileA(JoinPath(folder, name).c_str());
}

} // namespace pdx
