// Whether memory can be read without a fault, for following pointers found in code.
#pragma once
#include <cstddef>

// True when `count` bytes from `address` are committed and readable.
bool IsReadableMemory(const void* address, std::size_t count);
