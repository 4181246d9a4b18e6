// The validity-check file (.VAL): its stamp and its copy of the table's field list follow
// the table through a restructure.
#pragma once
#include "table_header.h"

namespace pdx {

// Writes to `out` the .VAL for the restructured table: stamp and version from `table`, and
// the fields from `firstNew` on appended to the footer's lists.
void RewriteValidity(const File& in, File& out, const TableHeader& table, size_t firstNew);

} // namespace pdx
