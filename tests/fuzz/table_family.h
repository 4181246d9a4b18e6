// A Paradox table family as one fuzz input: entries of a length byte and the extension of one
// file of the family (".DB", ".PX", ".X02", ".Y02", ".VAL", ".MB"), a 32-bit little-endian size
// and the file's bytes. Unpacked into memory files of one folder, under one table name.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace table_family {

using TFile = std::pair<std::string, std::vector<uint8_t>>; // extension, bytes

// Puts the input's files into memory files; the table's path, or "" when the input holds no
// .DB. Entries with another form of name are left out; an entry cut short keeps what it has.
std::string Unpack(const uint8_t* data, size_t size);
std::vector<uint8_t> Pack(const std::vector<TFile>& files);

} // namespace table_family
