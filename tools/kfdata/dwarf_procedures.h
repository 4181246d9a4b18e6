// The procedures of a linked image that have code of their own (DW_TAG_subprogram entries with
// addresses), named the way C++ qualifies them: member functions by their class, other
// functions by their namespaces. Anonymous namespaces and unnamed classes add no name. And the
// calls that the compiler inlined into them, where they stand in the procedure's own source.
#pragma once
#include "dwarf_ranges.h"
#include "dwarf_sections.h"
#include <string>
#include <vector>

struct DwarfProcedure {
    std::string ClassName;          // "ns::Outer::Inner"; empty outside classes
    std::string Name;               // "Method"; outside classes with its namespaces: "ns::Function"
    std::vector<DwarfRange> Ranges; // the first one begins with the entry point
};

// Code that an inlined call put into a procedure (the outermost call only).
struct DwarfInlinedCall {
    std::vector<DwarfRange> Ranges;
    uint64_t LineProgram = 0; // the unit's line program, by its offset in .debug_line
    uint32_t File = 0;        // the call's file, numbered as that program numbers them
    uint32_t Line = 0;        // the call's line
};

struct DwarfProcedures {
    std::vector<DwarfProcedure> Procedures;
    std::vector<DwarfInlinedCall> InlinedCalls;
};

DwarfProcedures ReadProcedures(const DwarfSections& sections);
