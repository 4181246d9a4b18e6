// The validity-check file (.VAL): its stamp and its copy of the table's field list follow
// the table through a restructure.
#pragma once
#include "table_header.h"

namespace pdx {

// Larger .VAL files are taken for damage rather than read whole.
constexpr uint64_t kLargestValidityFile = 16u << 20;

// The version byte a .VAL of the table carries: 1 for 3.x tables, else the table's.
inline uint8_t ValidityVersion(const TableHeader& table) {
    return table.version < 5 ? 1 : table.version;
}

// Writes to `out` the .VAL for the restructured table: stamp and version from `table`, and
// the fields from `firstNew` on appended to the footer's lists.
void RewriteValidity(const File& in, File& out, const TableHeader& table, size_t firstNew);

} // namespace pdx
