// A command-line tool for users of the engine: lists aliases, tables and fields, checks the
// files of tables, and appends a field the way the upgrade does. See the usage text.
#include "add_field.h"
#include "admin_catalog.h"
#include "admin_verify.h"
#include "field_letters.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: pdxadmin [--ini <file>] [--password <password>] <command> ...\n"
    "  aliases                          the configured aliases and their folders\n"
    "  tables <database>                the tables, each with its record count\n"
    "  fields <database> <table>...     for each table: level, block size, code page,\n"
    "                                   encryption, record count and key, then its fields:\n"
    "                                   number, name, type letter, size, \"key\" for keys\n"
    "  verify <database> [<table>...]   check that the files of the tables (all tables when\n"
    "                                   none is named) agree; prints each problem, then \"ok\",\n"
    "                                   or \"not understood\" for files it cannot interpret\n"
    "  add <database> <table> <name> <type> <size> [password]\n"
    "                                   append a field (type A S I D N $ L T @ # Y)\n"
    "<database> is an alias or a folder (a name with \":\" or \"\\\"). --ini names the engine\n"
    "configuration file (default: the engine's own choice); --password opens protected\n"
    "tables. Output is tab-separated, one item a line. Exit code 0 on success, 1 when the\n"
    "engine fails or verify finds a problem or does not understand a table, 2 for a wrong\n"
    "command line.\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

struct CommandLine {
    const char* ini = nullptr;
    const char* password = nullptr;
    std::vector<const char*> words;
};

bool Parse(int argc, char** argv, CommandLine& line) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--ini" || arg == "--password") && i + 1 < argc)
            (arg == "--ini" ? line.ini : line.password) = argv[++i];
        else if (arg.rfind("--", 0) == 0)
            return false;
        else
            line.words.push_back(argv[i]);
    }
    return !line.words.empty();
}

int Run(const CommandLine& line) {
    const std::string command = line.words[0];
    const size_t n = line.words.size();
    const char* database = n > 1 ? line.words[1] : nullptr;
    if (command == "aliases" && n == 1) {
        // The alias list needs an initialised engine but no database.
        DBIEnv env{};
        if (line.ini)
            std::snprintf(env.szIniFile, sizeof env.szIniFile, "%s", line.ini);
        Check(Dbi().DbiInitFn(DBIINTFVER, &env));
        ListAliases();
        Dbi().DbiExit();
        return 0;
    }
    if (command == "tables" && n == 2) {
        Session s(database, line.password, line.ini);
        return ListTables(s, database) ? 0 : 1;
    }
    if (command == "fields" && n >= 3) {
        Session s(database, line.password, line.ini);
        for (size_t i = 2; i < n; ++i)
            ListFields(s, line.words[i]);
        return 0;
    }
    if (command == "verify" && n >= 2) {
        Session s(database, line.password, line.ini);
        std::vector<std::string> tables(line.words.begin() + 2, line.words.end());
        if (tables.empty())
            tables = TableNames(database);
        return VerifyTables(s, tables) ? 0 : 1;
    }
    if (command == "add" && (n == 6 || n == 7)) {
        Session s(database, n == 7 ? line.words[6] : line.password, line.ini);
        AddField(s, line.words[2],
                 DescriptorFor(line.words[3], line.words[4][0], std::atoi(line.words[5])));
        return 0;
    }
    return Usage();
}

} // namespace

int main(int argc, char** argv) {
    CommandLine line;
    if (!Parse(argc, argv, line))
        return Usage();
    try {
        return Run(line);
    } catch (const Failed& f) {
        PrintFailure(f);
        return 1;
    }
}
