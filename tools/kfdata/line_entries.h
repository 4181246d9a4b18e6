// A linked image's code cut into pieces of one source line each, with the procedure that each
// piece belongs to.
#pragma once
#include "dwarf_lines.h"
#include "dwarf_procedures.h"
#include <cstdint>
#include <vector>

struct LineEntry {
    uint32_t Begin = 0; // virtual address
    uint32_t End = 0;   // one past the piece
    uint32_t File = 0;  // index into DwarfLines::Files
    uint32_t Line = 0;
    int32_t Procedure = -1; // index of the procedure holding Begin; -1 when none does
    bool Entry = false;     // Begin is that procedure's entry point
};

// In address order and without overlaps; only code within [codeBegin, codeEnd), and only
// pieces with a file and a line: code without a line joins the piece before it. Inlined code
// counts as the line of its call, so that file and line stay those of the procedure's own
// source. A piece is cut where a procedure begins.
std::vector<LineEntry> LineEntries(const DwarfLines& lines, const DwarfProcedures& procedures,
                                   uint32_t codeBegin, uint32_t codeEnd);
