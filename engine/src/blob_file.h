// Reading memo/BLOB values: small ones live in the record's leader, the rest in the .MB file.
#pragma once
#include "table_header.h"
#include <vector>

namespace pdx {

// The value's length as its 10-byte tail records it.
uint32_t BlobLength(const Field& f, const uint8_t* stored);
// The whole value of a blob field of the table at tablePath.
std::vector<uint8_t> ReadBlob(const std::string& tablePath, const TableHeader& h, const Field& f,
                              const uint8_t* stored);

} // namespace pdx
