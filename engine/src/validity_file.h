// The validity-check file (.VAL): telling its two layouts apart, and carrying it through a
// restructure, where its stamp and (in the later layout) its copy of the table's field list
// follow the table.
#pragma once
#include "table_header.h"
#include <string>
#include <vector>

namespace pdx {

// Larger .VAL files are taken for damage rather than read whole.
constexpr uint64_t kLargestValidityFile = 16u << 20;

// The version byte a .VAL of the later layout carries: 1 for 3.x tables, else the table's.
inline uint8_t ValidityVersion(const TableHeader& table) {
    return table.version < 5 ? 1 : table.version;
}

// The whole file; a size no .VAL has fails with DBIERR_VALCORRUPT.
std::vector<uint8_t> ReadValidity(const File& file);

// Empty when the bytes are a .VAL of the 3.x era whose checks name the first `fields` fields
// of the table; else what does not fit.
std::string Era3Mismatch(const std::vector<uint8_t>& bytes, const TableHeader& table,
                         size_t fields);

// Where the parts of the later layout's footer lie.
struct ValidityFooter {
    size_t at = 0;      // the footer itself
    unsigned count = 0; // fields listed
    size_t ids = 0, types = 0, path = 0, names = 0;
};

// Empty when the footer's lists up to the field names, and the integrity section where there
// is one, lie within the bytes; else what does not fit.
std::string ReadFooter(const std::vector<uint8_t>& bytes, ValidityFooter& out);

// Writes to `out` the .VAL for the restructured table: its stamp from `table`, and in the later
// layout its version from `table` and the fields from `firstNew` on appended to the footer's
// lists. A .VAL of the 3.x era keeps every other byte: its checks name fields by position,
// which appended fields leave as they are.
void RewriteValidity(const File& in, File& out, const TableHeader& table, size_t firstNew);

} // namespace pdx
