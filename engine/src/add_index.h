// Building a maintained single-field secondary index (.Xnn with its tree .Ynn) over the
// records a keyed table holds.
#pragma once
#include "idapi.h"
#include "restructure.h"
#include <string>

namespace pdx {

// Entries are ordered by the indexed value, then the primary key, both compared as stored
// bytes: that is the table's order only for the 'ascii' sort order, so tables with other
// sort orders are refused when the index holds alpha values.
void AddSecondaryIndex(const std::string& tablePath, const IDXDesc& desc,
                       const PasswordCheck& hasPassword);

} // namespace pdx
