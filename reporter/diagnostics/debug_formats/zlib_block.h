// zlib streams of the crash reporter's container: options block and debug information.
#pragma once
#include "runtime/exception.h"
#include <cstdint>
#include <vector>

// Raised for a stream that does not inflate completely; callers treat the data as missing.
class EZlibError : public Exception {
  public:
    using Exception::Exception;
};

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data);
// At most `limit` bytes come out, so that a damaged stream cannot claim all memory.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& stream, size_t limit = 64u << 20);
