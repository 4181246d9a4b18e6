// Writing into code and tables of loaded modules.
#pragma once
#include <cstddef>

// Copies `count` bytes to `address` whatever the page protection, then restores it and flushes
// the instruction cache.
void WriteMem(void* address, const void* bytes, std::size_t count);

// Writes the 5-byte relative jump E9 rel32 to `target` at `address`.
void JumpToMem(void* address, const void* target);
