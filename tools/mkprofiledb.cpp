// Writes the PROFILEDATA database in its old layout, and the partial layouts that upgrade
// tests start from, through the engine library; see the usage text for the options.
#include "alias_file.h"
#include "profile_options.h"
#include "profile_validity.h"
#include "profile_writer.h"
#include <algorithm>
#include <cstdio>
#include <windows.h>

namespace {

// Removes the files of a table's family (Subject.DB, Subject.PX, Subject.X02, ...).
void DeleteFamily(const std::string& folder, const std::string& table) {
    std::string stem = table.substr(0, table.find_last_of('.'));
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "\\" + stem + ".*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = data.cFileName;
        if (_stricmp(name.substr(0, name.find_last_of('.')).c_str(), stem.c_str()) == 0)
            DeleteFileA((folder + "\\" + name).c_str());
    } while (FindNextFileA(h, &data));
    FindClose(h);
}

} // namespace

int main(int argc, char** argv) {
    ProfileOptions options;
    std::string error;
    if (!ParseProfileOptions(argc, argv, options, error)) {
        if (!error.empty())
            std::fprintf(stderr, "mkprofiledb: %s\n", error.c_str());
        std::fputs(kProfileUsage, stderr);
        return 2;
    }
    const std::string folder = FullPath(options.folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    try {
        Session session(folder.c_str(), nullptr);
        const auto& tables = ProfileTables();
        for (unsigned n = 0; n < tables.size(); ++n) {
            const TableDef* t = &tables[n];
            if (!options.Wanted(t))
                continue;
            if (options.replace)
                DeleteFamily(folder, t->name);
            TableJob job;
            job.def = t;
            job.number = n;
            job.rows = options.rows;
            job.seed = options.seed;
            job.index = options.index;
            if (options.unkeyed.count(t)) {
                job.keyed = false;
                job.unkeyedIndex = options.unkeyed.at(t);
            }
            job.oldValidity = std::count(options.oldValidity.begin(), options.oldValidity.end(), t);
            if (options.present.count(t))
                job.extra = options.present.at(t);
            if (options.passwords.count(t))
                job.password = options.passwords.at(t);
            WriteProfileTable(session, job);
            if (job.oldValidity && !WriteOldValidity(folder, t->name))
                throw Failed{DBIERR_WRITEERR,
                             {std::string("File: ") + t->name + " (validity file)"}};
            std::printf("%s\t%u records\n", t->name, options.rows);
        }
    } catch (const Failed& f) {
        PrintFailure(f);
        return 1;
    }
    if (!options.ini.empty()) {
        if (!WriteAlias(options.ini, options.alias, folder, options.user)) {
            std::fprintf(stderr, "mkprofiledb: cannot write %s\n", options.ini.c_str());
            return 1;
        }
        std::printf("alias\t%s\t%s\n", options.alias.c_str(), folder.c_str());
    }
    return 0;
}
