// Whole-file reads and writes for the crash reporter's binary files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Reads all of an existing file; other processes may read it meanwhile. Raises Exception.
std::vector<uint8_t> ReadWholeFile(const std::string& fileName);
// Creates or replaces `fileName` with `bytes`. Raises Exception.
void WriteNewFile(const std::string& fileName, const std::vector<uint8_t>& bytes);
