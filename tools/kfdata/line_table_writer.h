// Writes the line table: the unit count, then each unit with its name, first line, code range
// and records. Names are enciphered with the debug password (the empty one when none is set),
// each part of a "Class.Procedure" name on its own.
#pragma once
#include "dwarf_procedures.h"
#include "line_units.h"
#include "reporter/base/block_cipher.h"
#include "reporter/base/byte_stream.h"
#include <map>
#include <string>
#include <string_view>
#include <vector>

class LineTableWriter {
  public:
    // `files` and `procedures` are what the units' indices point into; `imageBase` turns
    // virtual addresses into code offsets.
    LineTableWriter(const std::vector<std::string>& files,
                    const std::vector<DwarfProcedure>& procedures, const std::string& password,
                    uint32_t imageBase);

    std::vector<uint8_t> Write(const std::vector<LineUnit>& units);

  private:
    void WriteUnit(ByteWriter& out, const LineUnit& unit);
    void WriteRecords(ByteWriter& out, const LineUnit& unit);
    void WriteProcedureName(ByteWriter& out, const DwarfProcedure& p, std::string_view& lastClass);
    void WriteName(ByteWriter& out, std::string_view text, bool continued);

    const std::vector<std::string>& files_;
    const std::vector<DwarfProcedure>& procedures_;
    TBlockCipher cipher_;
    uint32_t codeStart_;
    // Each name part enciphered once: the same file and class names come back thousands of times.
    std::map<std::string, std::string, std::less<>> enciphered_;
    ByteWriter records_; // of the unit being written, before their size is known
};
