// pdxadmin verify: the engine's consistency check of one table or of every table of a
// database. Problems (damage) print as "<file>: <what>", notes as "note: <file>: <what>", what
// the engine cannot interpret as "not understood: <file>: <why>"; each table ends with its
// number of problems, else "not understood" or "ok" (prefixed with the table when several are
// checked).
#pragma once
#include "engine_session.h"
#include <string>
#include <vector>

// True when every table was checked and found sound; false for an empty list.
bool VerifyTables(Session& s, const std::vector<std::string>& tables);
