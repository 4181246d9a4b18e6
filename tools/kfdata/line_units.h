// The units of the line table: stretches of contiguous code from one source file whose lines
// only go up, so that every step between two lines is positive. Optimised code jumps back and
// forth between lines and files; each jump back starts a new unit of the same file name.
#pragma once
#include "line_entries.h"
#include <cstdint>
#include <vector>

// One line of a unit and its code; a line of no code only opens a procedure.
struct UnitLine {
    uint32_t Line = 0;
    uint32_t Size = 0;
    int32_t Opens = -1; // index of the procedure that begins here
};

struct LineUnit {
    uint32_t File = 0;  // index into DwarfLines::Files
    uint32_t Begin = 0; // virtual address
    uint32_t Size = 0;
    std::vector<UnitLine> Lines; // ascending
};

// A unit that begins inside a procedure opens it again, on the procedure's first line when
// that lies before, so that lines keep counting from the procedure's start.
std::vector<LineUnit> LineUnits(const std::vector<LineEntry>& entries);
