// The records of a module's own line table: one line each, in four forms told apart by the low
// bits of the first byte (see line_table_format.h).
#pragma once
#include "reporter/base/byte_view.h"
#include <cstdint>

struct TLineRecord {
    uint32_t LineStep = 0;
    uint32_t AddressStep = 0;
    bool OpensProcedure = false; // the procedure's name follows the record
};

// The record at `at` of a table of `version`; `at` moves past it.
TLineRecord ReadLineRecord(const TByteView& table, size_t& at, int version);
