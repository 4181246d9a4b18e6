// The GNU linker's map of a linked image: the image base and the address of every symbol, with
// C++ names as the linker prints them (demangled, "Class::Method(arguments)").
#pragma once
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

class LinkMapError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct LinkMap {
    uint32_t ImageBase = 0;
    std::multimap<std::string, uint32_t> Symbols; // name → address

    // The symbol whose name up to its argument list is `name`; 0 when there is none.
    uint32_t Address(const std::string& name) const;
    // Bytes from `address` to the next symbol above it.
    uint32_t SizeAt(uint32_t address) const;
};

// Raises LinkMapError for a file that cannot be read or is no map.
LinkMap ReadLinkMap(const std::string& fileName);
