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

// A rename can meet the old table opened for a moment by another process that looks for a
// commit to recover: retry briefly.
void MoveIntoPlace(const std::string& temp, const std::string& target) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExA(temp.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        DWORD error = GetLastError();
        bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!busy || attempt == 200)
            Fail(busy ? DBIERR_TABLEINUSE : DBIERR_WRITEERR,
                 "File: " + target + " (system error " + std::to_string(error) +
                     "; the change completes at the next open)");
        Sleep(10);
    }
}

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of("\\/:") + 1);
}

// The new table file, open so that nothing but its own rename gets in: the table lock passes
// from the old file to it, and no other process opens the table under either name meanwhile.
class Successor {
  public:
    explicit Successor(const std::string& temp)
        : handle_(CreateFileA(temp.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (handle_ == INVALID_HANDLE_VALUE)
            Fail(DBIERR_TABLEINUSE,
                 "File: " + temp + " (system error " + std::to_string(GetLastError()) + ")");
    }
    Successor(const Successor&) = delete;
    Successor& operator=(const Successor&) = delete;
    ~Successor() { CloseHandle(handle_); }

  private:
    HANDLE handle_;
};

std::vector<std::string> Leftovers(const std::string& tablePath) {
    return ListMatching(StemOf(tablePath) + ".*" + kTempSuffix);
}

} // namespace

void FinishCommit(const std::string& tablePath, const std::vector<std::string>& targets,
                  File& tableLock) {
    // The table cannot be replaced while it is open, not even by the lock's holder: it goes last.
    std::string table;
    for (const auto& t : targets) {
        if (SameNameAscii(NameOf(t), NameOf(tablePath)))
            table = t;
        else
            MoveIntoPlace(TemporaryName(t), t);
    }
    if (table.empty()) {
        DeleteFileA(JournalOf(tablePath).c_str());
        tableLock.Close();
        return;
    }
    Successor next(TemporaryName(table));
    tableLock.Close();
    MoveIntoPlace(TemporaryName(table), table);
    DeleteFileA(JournalOf(tablePath).c_str()); // still under the lock, now the new file's
}

void CommitFamily(const std::string& tablePath, const std::vector<std::string>& targets) {
    File noLock;
    WriteJournal(tablePath, targets);
    FinishCommit(tablePath, targets, noLock);
}

namespace {

// With the table lock held: rolls a journalled commit forward when its journal is complete,
// back when it is not. A file that cannot be removed keeps the journal for the next open.
void SettleJournal(const std::string& tablePath, File& tableLock) {
    std::string journal = JournalOf(tablePath);
    std::vector<std::string> lines = Lines(ReadWholeFile(journal));
    bool complete = !lines.empty() && lines.back() == kJournalEnd;
    if (complete)
        lines.pop_back();
    std::string folder = FolderOf(tablePath);
    std::vector<std::string> pending;
    for (const auto& line : lines) {
        std::string target = JoinPath(folder, NameOf(line));
        if (FileExists(TemporaryName(target)))
            pending.push_back(target); // the others were moved before the interruption
    }
    for (const auto& name : Leftovers(tablePath)) {
        bool listed = false;
        for (const auto& t : pending)
            listed = listed || SameNameAscii(TemporaryName(NameOf(t)), name);
        if ((!complete || !listed) && !DeleteFileA(JoinPath(folder, name).c_str()))
            return;
    }
    if (complete)
        FinishCommit(tablePath, pending, tableLock);
    else
        DeleteFileA(journal.c_str());
}

} // namespace

void RecoverFamily(const std::string& tablePath) {
    std::string journal = JournalOf(tablePath);
    if (!FileExists(journal) && Leftovers(tablePath).empty())
        return;
    // The table lock: while another process holds it, the files are that process's own; while
    // this one does, no other writer starts or commits. A table not created yet has none.
    File lock;
    try {
        lock = File::Open(tablePath, Access::Read, Share::Exclusive, DBIERR_NOSUCHTABLE);
    } catch (const EngineError& e) {
        if (e.code != DBIERR_NOSUCHTABLE)
            return;
    }
    try {
        if (FileExists(journal)) {
            SettleJournal(tablePath, lock);
            return;
        }
        std::string folder = FolderOf(tablePath);
        for (const auto& name : Leftovers(tablePath))
            DeleteFileA(JoinPath(folder, name).c_str());
    } catch (const EngineError&) {
        // A commit that cannot finish now (another process's open met its rename) stays for the
        // next open, journal and all.
    }
}

} // namespace pdx
