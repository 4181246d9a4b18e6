// The line number programs of .debug_line (DWARF 2 to 5), run into rows: each row says that
// the code from its address up to the next row's address comes from one line of one file.
#pragma once
#include "dwarf_sections.h"
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct DwarfLineRow {
    uint32_t Address = 0;
    uint32_t File = 0; // index into DwarfLines::Files
    uint32_t Line = 0; // 0: no source line
};

// Rows of contiguous code, in the order the program gave them.
struct DwarfSequence {
    std::vector<DwarfLineRow> Rows;
    uint32_t End = 0; // one past the last row's code
};

struct DwarfLines {
    std::vector<std::string> Files; // names without their folders, each once; 0 is ""
    std::vector<DwarfSequence> Sequences;
    // Each program's file numbers (as its units' entries use them) → Files; by the program's
    // offset in .debug_line.
    std::map<uint64_t, std::vector<uint32_t>> ProgramFiles;
};

DwarfLines ReadLines(const DwarfSections& sections);
