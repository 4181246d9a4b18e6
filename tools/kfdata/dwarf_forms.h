// Attribute values of DWARF 2 to 5 debugging entries, decoded by their form.
#pragma once
#include "dwarf_cursor.h"
#include "dwarf_sections.h"
#include <cstdint>
#include <string_view>

// The header of a unit of .debug_info, or the parts of a line program's header that its
// entry formats need.
struct DwarfUnit {
    size_t Offset = 0; // of the header in its section
    size_t End = 0;    // one past the unit
    uint16_t Version = 0;
    uint8_t AddressSize = 4;
    uint64_t AbbrevOffset = 0;
};

// Reads a .debug_info unit header at the cursor and leaves the cursor at its first entry.
DwarfUnit ReadUnitHeader(DwarfCursor& in);

enum class DwarfClass : uint8_t { Other, Address, Constant, Reference, SectionOffset, String };

struct DwarfValue {
    DwarfClass Class = DwarfClass::Other;
    uint64_t Number = 0; // references: offsets in .debug_info; strings: see Text
    std::string_view InlineText;
    std::span<const uint8_t> StringSection; // strings kept elsewhere: Number is their offset

    std::string_view Text() const;
};

// The bytes that every value of `form` takes in `unit`; kSizedByValue for forms whose values
// say their own size (strings, blocks, LEB128 numbers) and for forms this reader does not know.
constexpr int kSizedByValue = -1;
int FormSize(uint64_t form, const DwarfUnit& unit);

// Moves past one value of `form` without decoding it. Raises DwarfError for an unknown form.
void SkipValue(DwarfCursor& in, uint64_t form, const DwarfUnit& unit);

// Reads one value of `form`; `implicitConst` is the value that DW_FORM_implicit_const keeps in
// the abbreviation. Forms this reader cannot resolve (string and address indices) come back as
// DwarfClass::Other.
DwarfValue ReadValue(DwarfCursor& in, uint64_t form, int64_t implicitConst, const DwarfUnit& unit,
                     const DwarfSections& sections);
