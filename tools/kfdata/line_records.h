// The line table's record forms: the smallest that holds a line step, an address step and
// whether a procedure begins.
#pragma once
#include "reporter/base/byte_stream.h"
#include <cstdint>

// lineStep 1 to 65536; addressStep 0 to 65536, 0 only for a record of no code.
void WriteLineRecord(ByteWriter& out, uint32_t lineStep, uint32_t addressStep, bool opens);
