// Reading the files of a table family as they lie on disk, for the engine's tests.
#pragma once
#include "table_header.h"
#include <set>
#include <string>
#include <vector>

pdx::TableHeader HeaderOf(const std::string& path);
// The names of the files in a folder.
std::set<std::string> FilesIn(const std::string& dir);
// The whole file.
std::vector<uint8_t> Contents(const std::string& path);
// Every record of the table in chain order; its header goes to h.
std::vector<std::vector<uint8_t>> Records(const std::string& path, pdx::TableHeader& h);

// Never knows a password.
bool NoPassword(uint32_t);

// What the engine's verify says of a table: its problems, how many of them it did not
// understand, and its lines.
struct Verdict {
    unsigned problems = 0, notUnderstood = 0;
    std::string lines;
};
Verdict Verify(const std::string& table);
