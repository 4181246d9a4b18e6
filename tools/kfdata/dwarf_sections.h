// The DWARF sections of a linked image that the line table is made from.
#pragma once
#include "pe_file.h"
#include <cstdint>
#include <span>

struct DwarfSections {
    std::span<const uint8_t> Info;
    std::span<const uint8_t> Abbrev;
    std::span<const uint8_t> Str;
    std::span<const uint8_t> LineStr; // DWARF 5
    std::span<const uint8_t> Line;
    std::span<const uint8_t> Ranges;   // DWARF 4
    std::span<const uint8_t> RngLists; // DWARF 5
};

// Views into the image's bytes; sections it lacks are empty.
DwarfSections DwarfSectionsOf(const PeFile& image);
