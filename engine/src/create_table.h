// Creating an empty table (and its empty primary index) from a CRTblDesc.
#pragma once
#include "idapi.h"
#include <string>

namespace pdx {

void CreateTable(const std::string& tablePath, const CRTblDesc& desc, bool overwrite);

} // namespace pdx
