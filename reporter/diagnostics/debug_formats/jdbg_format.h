// The building blocks of JDBG debug data: variable-length numbers and pooled names.
#pragma once
#include "reporter/base/byte_view.h"
#include <string>

// A number of 7-bit groups, least significant first; every byte but the last has its high bit
// set. Moves `at` past it; EStreamReadError when the data ends first.
uint32_t ReadJdbgNumber(TByteView data, size_t& at);

// The name stored at `at`: byte 1 and a zero-terminated text kept by exclusive-or with 0xAA
// (0xAA itself stored as it is); byte 2 and a packed name that reads with a leading "@"; else a
// packed name of 6-bit codes (0 ends; "0".."9", "A".."Z", "a".."z", "_"), four codes in three
// bytes. At most 255 characters; a name cut off by the end of the data ends there.
std::string JdbgPoolName(TByteView data, size_t at);
