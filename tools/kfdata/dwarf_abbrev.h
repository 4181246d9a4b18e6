// A unit's abbreviation table: the tag, children flag and attribute forms of each entry code.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

struct DwarfAttributeEncoding {
    uint32_t Name = 0;
    uint32_t Form = 0;
    int64_t ImplicitConst = 0;
};

struct DwarfAbbrev {
    uint32_t Tag = 0; // 0: the code is not defined
    bool HasChildren = false;
    std::vector<DwarfAttributeEncoding> Attributes;
};

class DwarfAbbrevTable {
  public:
    // The table at `offset` of .debug_abbrev.
    DwarfAbbrevTable(std::span<const uint8_t> section, uint64_t offset);
    // Raises DwarfError for a code the table does not define.
    const DwarfAbbrev& Find(uint64_t code) const;

  private:
    std::vector<DwarfAbbrev> byCode_;
};
