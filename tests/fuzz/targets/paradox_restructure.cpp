// The restructure on a table family: a field appended as the upgrade appends one, the family
// rewritten under temporary names and swapped in, then read back and checked. A table whose
// records all read before must read after.
#include "append_field.h"
#include "idapi.h"
#include "memory_files.h"
#include "status.h"
#include "table_family.h"
#include "table_reads.h"

namespace {

bool Readable(const std::string& table) {
    try {
        ReadEveryRecord(table);
        return true;
    } catch (const pdx::EngineError&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    memory_files::Clear();
    const std::string table = table_family::Unpack(data, size);
    if (table.empty())
        return 0;
    const bool readable = Readable(table);
    try {
        AppendField(table, "Appended", fldZSTRING, 12);
    } catch (const pdx::EngineError&) {
        return 0;
    }
    if (readable)
        ReadEveryRecord(table);
    try {
        VerifyFamily(table);
    } catch (const pdx::EngineError&) {
    }
    return 0;
}
