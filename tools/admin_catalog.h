// pdxadmin's listings: the configured aliases, the tables of a database with their record
// counts, and the fields and properties of one table. Tab-separated, one item a line.
#pragma once
#include "engine_session.h"
#include <string>
#include <vector>

// An alias's folder, or the folder named by a path; fails like the engine for unknown aliases.
std::string DatabaseFolder(const char* database);
// The .DB files of a database folder, sorted.
std::vector<std::string> TableNames(const char* database);

void ListAliases();
// False when a table could not be opened; its line then shows the error instead of a count.
bool ListTables(Session& s, const char* database);
void ListFields(Session& s, const char* table);
