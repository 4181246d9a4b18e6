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
