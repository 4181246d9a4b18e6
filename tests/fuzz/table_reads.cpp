#include "table_reads.h"
#include "blob_file.h"
#include "table_cursor.h"
#include "verify_table.h"

namespace {

// The session holds every password: enciphered tables are read like the others.
bool AnyPassword(uint32_t) {
    return true;
}

} // namespace

void ReadEveryRecord(const std::string& table) {
    pdx::TableCursor cursor(table, true, false, AnyPassword);
    const pdx::TableHeader& header = cursor.Header();
    std::vector<uint8_t> record(header.recordSize);
    while (cursor.Next(record.data()))
        for (const pdx::Field& field : header.fields)
            if (pdx::IsBlobType(field.type))
                pdx::ReadBlob(table, header, field, record.data() + field.offset);
    cursor.Close();
}

void VerifyFamily(const std::string& table) {
    pdx::VerifyTable(table, AnyPassword, [](pdx::Finding, const std::string&) {});
}
