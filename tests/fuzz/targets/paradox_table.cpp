// A Paradox table family (.DB with .PX, .Xnn/.Ynn, .VAL, .MB) opened through the engine: every
// record read with its memo values, then the whole family checked.
#include "memory_files.h"
#include "status.h"
#include "table_family.h"
#include "table_reads.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    memory_files::Clear();
    const std::string table = table_family::Unpack(data, size);
    if (table.empty())
        return 0;
    try {
        ReadEveryRecord(table);
    } catch (const pdx::EngineError&) {
    }
    try {
        VerifyFamily(table);
    } catch (const pdx::EngineError&) {
    }
    return 0;
}
