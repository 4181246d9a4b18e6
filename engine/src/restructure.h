// Restructuring a table in place: appending fields. The table is rewritten into a new family
// under temporary names and swapped in only when everything is written and flushed.
#pragma once
#include "idapi.h"
#include <functional>
#include <string>

namespace pdx {

// Answers whether the session holds the password with this check value.
using PasswordCheck = std::function<bool(uint32_t checksum)>;

void RestructureTable(const std::string& tablePath, const CRTblDesc& desc,
                      const PasswordCheck& hasPassword);

} // namespace pdx
