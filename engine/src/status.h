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

// Per thread: the contexts of the last failed call, the most recent last. Kept in a shared map
// rather than thread-local storage, which would pin the library in memory after FreeLibrary.
void ClearErrors();
void PushError(ErrorEntry entry);
std::vector<ErrorEntry> Errors();

} // namespace pdx
