// The engine as the command-line tools use it: the library loaded once, failed statuses as
// exceptions and their report on stderr, and one session on one database.
#pragma once
#include "engine_library.h"
#include <string>
#include <vector>

EngineLibrary& Dbi();

// A failed call with the contexts of its error entries, taken at once: the session's shutdown
// while the exception unwinds would clear them.
struct Failed {
    DBIResult code;
    std::vector<std::string> contexts;
};

void Check(DBIResult r);
// "error 0xHHHH: <status text>", then each context, on stderr.
void PrintFailure(const Failed& failure);
// The same for a status whose error entries are still current.
void PrintFailure(DBIResult code);

struct Session {
    hDBIDb db = 0;
    // database: an alias or a folder; iniFile: the alias file, or null for the engine's choice.
    Session(const char* database, const char* password, const char* iniFile = nullptr);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    // Shared opens fall back to read-only for read-only table files.
    hDBICur Open(const char* table, bool exclusive);
};

std::vector<FLDDesc> Fields(hDBICur cur, CURProps& props);
