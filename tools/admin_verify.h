// pdxadmin verify: the engine's consistency check of one table or of every table of a
// database. Problems print as "<file>: <what>", notes as "note: <file>: <what>", and each table
// ends with "ok" or its number of problems (prefixed with the table when several are checked).
#pragma once
#include "engine_session.h"
#include <string>
#include <vector>

// True when every table was checked and none has a problem; false for an empty list.
bool VerifyTables(Session& s, const std::vector<std::string>& tables);
