// The whole upgrade of a PROFILEDATA database in its old layout with many rows per table:
// the 61 column checks run in process in their order with the time each table takes, then
// ProfileUpgrade.exe upgrades a copy of the same database as users run it. The time to copy
// the database once is the yardstick.
#include "engine_folder.h"
#include "file_bytes.h"
#include "profile_database.h"
#include "profile_schema.h"
#include "status.h"
#include "tables/bde.h"
#include "tables/engine_error.h"
#include "upgrade/dm_quernel.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// MB here are MiB, as Windows tools show file sizes.
double FolderMegaBytes(const std::string& folder) {
    double bytes = 0;
    for (const auto& name : FilesIn(folder)) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA((folder + "\\" + name).c_str(), GetFileExInfoStandard, &data))
            bytes += double(uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
    }
    return bytes / (1024.0 * 1024.0);
}

// With `flush`, every copied file is also made durable, as the restructure makes its files.
bool CopyFolder(const std::string& from, const std::string& to, bool flush) {
    CreateDirectoryA(to.c_str(), nullptr);
    for (const auto& name : FilesIn(from)) {
        const std::string target = to + "\\" + name;
        if (!CopyFileA((from + "\\" + name).c_str(), target.c_str(), FALSE))
            return false;
        if (flush) {
            HANDLE h =
                CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            FlushFileBuffers(h);
            CloseHandle(h);
        }
    }
    return true;
}

// Seconds for one copy of the database, or a negative number when it failed.
double CopySeconds(const std::string& from, const std::string& to, bool flush) {
    auto start = Clock::now();
    return CopyFolder(from, to, flush) ? SecondsSince(start) : -1;
}

// Headers of tables and indexes carry the time of their last update, which two runs cannot
// share; everything else must match.
std::string WithoutUpdateTime(std::string bytes, const std::string& name) {
    const std::string ext = name.substr(name.find_last_of('.') + 1);
    const bool hasHeader = _stricmp(ext.c_str(), "MB") != 0 && _stricmp(ext.c_str(), "VAL") != 0;
    if (hasHeader && bytes.size() >= 0x64)
        bytes.replace(0x60, 4, 4, '\0');
    return bytes;
}

bool SameFiles(const std::string& a, const std::string& b) {
    std::vector<std::string> names = FilesIn(a);
    if (names.size() != FilesIn(b).size())
        return false;
    for (const auto& name : names)
        if (WithoutUpdateTime(FileBytes(a + "\\" + name), name) !=
            WithoutUpdateTime(FileBytes(b + "\\" + name), name))
            return false;
    return true;
}

TTable* TableNamed(TdmQuernel& dm, const char* name) {
    for (int i = 0; i < dm.ComponentCount(); ++i)
        if (auto* t = dynamic_cast<TTable*>(dm.Components(i)))
            if (_stricmp(t->TableName().c_str(), name) == 0)
                return t;
    return nullptr;
}

uint16_t FieldType(char letter) {
    return letter == 'A' ? fldZSTRING : letter == 'S' ? fldINT16 : fldINT32;
}

struct TableTime {
    std::string name;
    double seconds = 0;
    int added = 0;
};

// Whether every table holds its columns and the number of records it was made with.
bool Upgraded(TdmQuernel& dm, unsigned rows) {
    for (const UpgradeColumn& c : UpgradeColumns()) {
        TTable* table = TableNamed(dm, c.table);
        table->OpenTable();
        uint32_t count = 0;
        CheckStatus(bde::DbiGetRecordCount(table->Handle(), &count));
        if (!table->LookupField(c.name) || count != rows) {
            std::fprintf(stderr, "%s: column %s missing or %u records\n", c.table, c.name,
                         unsigned(count));
            return false;
        }
    }
    return true;
}

// The checks in the upgrade's order, timed per table.
std::vector<TableTime> RunChecks(TdmQuernel& dm) {
    std::vector<TableTime> times;
    for (const UpgradeColumn& c : UpgradeColumns()) {
        TTable* table = TableNamed(dm, c.table);
        auto time = std::find_if(times.begin(), times.end(),
                                 [&](const TableTime& t) { return t.name == c.table; });
        if (time == times.end())
            time = times.insert(times.end(), TableTime{c.table});
        auto start = Clock::now();
        dm.EnsureColumn(table, c.name, FieldType(c.type), int16_t(c.size));
        time->seconds += SecondsSince(start);
        time->added += !table->Active(); // a present column leaves it open, an added one closed
    }
    return times;
}

// In this process, through the engine binding the units were initialised with.
bool UpgradeInProcess(unsigned rows) {
    std::vector<TableTime> times;
    try {
        TdmQuernel dm(nullptr);
        times = RunChecks(dm);
        if (!Upgraded(dm, rows))
            times.clear();
    } catch (const Exception& e) {
        std::fprintf(stderr, "upgrade failed: %s\n", e.Message().c_str());
    }
    double total = 0;
    for (const auto& t : times) {
        std::printf("  %-16s %2d columns  %8.2f s\n", t.name.c_str(), t.added, t.seconds);
        total += t.seconds;
    }
    if (!times.empty())
        std::printf("  %-16s %2zu columns  %8.2f s\n", "all tables", UpgradeColumns().size(),
                    total);
    std::fflush(stdout);
    return !times.empty();
}

// ProfileUpgrade.exe with engineFolder as its current directory; the wall time of the whole
// process, or a negative number when it did not succeed.
double UpgradeProgram(const std::string& engineFolder) {
    std::string command = "\"" UPGRADE_EXE "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    auto start = Clock::now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        engineFolder.c_str(), &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    double seconds = SecondsSince(start);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code == 0 ? seconds : -1;
}

} // namespace

int main(int argc, char** argv) {
    const unsigned rows = argc > 1 ? unsigned(std::atol(argv[1])) : 100000;
    EngineFolder engine(ENGINE_DLL);
    const std::string data = engine.DataFolder(), copy = data + "-copy";

    auto start = Clock::now();
    try {
        BuildProfileDatabase(data, rows);
    } catch (const pdx::EngineError& e) {
        std::fprintf(stderr, "cannot build the database: error 0x%04X %s\n", unsigned(e.code),
                     e.context.c_str());
        return 1;
    }
    std::printf("upgrade: PROFILEDATA in its old layout, %zu tables of %u rows, %.1f MB "
                "(built in %.1f s)\n",
                ProfileTables().size(), rows, FolderMegaBytes(data), SecondsSince(start));

    const double copySeconds = CopySeconds(data, copy + "-plain", false);
    const double flushedSeconds = CopySeconds(data, copy, true);
    if (copySeconds < 0 || flushedSeconds < 0) {
        std::fprintf(stderr, "cannot copy the database (error %lu)\n", GetLastError());
        return 1;
    }
    const double megaBytes = FolderMegaBytes(data);
    std::printf("copy of the database: %.2f s (%.1f MB/s), flushed to disk %.2f s (%.1f MB/s)\n",
                copySeconds, megaBytes / copySeconds, flushedSeconds, megaBytes / flushedSeconds);

    std::printf("the 61 checks in process, per table (columns added, time):\n");
    std::fflush(stdout);
    if (!UpgradeInProcess(rows))
        return 1;

    engine.PointAliasAt(copy);
    const double programSeconds = UpgradeProgram(engine.Path());
    if (programSeconds < 0) {
        std::fprintf(stderr, "ProfileUpgrade.exe failed\n");
        return 1;
    }
    std::printf("ProfileUpgrade.exe on the copy: %.2f s (%.1f x the copy, %.1f x the flushed "
                "copy); files %s the in-process result's (update times aside)\n",
                programSeconds, programSeconds / copySeconds, programSeconds / flushedSeconds,
                SameFiles(data, copy) ? "identical to" : "DIFFERENT from");
    return 0;
}
