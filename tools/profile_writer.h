// Writing one profile table through the engine: created with its key, level and block size,
// filled row by row, then given its secondary index (the engine refuses inserts once a table
// has one).
#pragma once
#include "engine_session.h"
#include "profile_table_desc.h"

void WriteProfileTable(Session& s, const TableJob& job);
