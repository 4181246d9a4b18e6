// Engine failures: thrown inside the engine, turned into a status and an error stack at the
// library boundary.
#pragma once
#include "idapi.h"
#include <string>
#include <vector>

namespace pdx {

struct EngineError {
    DBIResult code;
    std::string context; // names the table, file, alias or field involved
};

[[noreturn]] void Fail(DBIResult code, std::string context = {});

// The English text of a status, at most DBIMAXMSGLEN characters.
const char* StatusText(DBIResult code);

struct ErrorEntry {
    DBIResult code;
    uint32_t native;
    std::string context;
};

// Per thread: the contexts of the last failed call, most recent first.
std::vector<ErrorEntry>& ErrorStack();

} // namespace pdx
