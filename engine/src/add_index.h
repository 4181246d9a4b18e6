// Building a single-field secondary index (.Xnn with its tree .Ynn) over the records a table
// holds: maintained or not on a keyed table; on a table without key only one that is not
// maintained, as the original engine allows.
#pragma once
#include "idapi.h"
#include "restructure.h"
#include <string>

namespace pdx {

// Entries are ordered by the indexed value, then the primary key (or the record's number),
// compared as stored bytes: that is the table's order only for the 'ascii' sort order, so
// tables with other sort orders are refused when the index holds alpha values.
void AddSecondaryIndex(const std::string& tablePath, const IDXDesc& desc,
                       const PasswordCheck& hasPassword);

} // namespace pdx
