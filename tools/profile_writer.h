// Writing one profile table through the engine: created with its key, level and block size,
// filled row by row, then given its secondary index (the engine refuses inserts once a table
// has one).
#pragma once
#include "engine_session.h"
#include "profile_schema.h"
#include <cstdint>
#include <string>

struct TableJob {
    const TableDef* def = nullptr;
    unsigned number = 0;       // position among the profile tables: part of the content seed
    std::vector<Column> extra; // columns of the upgrade made present, after the table's own
    std::string password;      // protects the table when not empty
    unsigned rows = 0;
    uint64_t seed = 1;
    bool index = true;
};

void WriteProfileTable(Session& s, const TableJob& job);
