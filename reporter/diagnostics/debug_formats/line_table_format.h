// The crash reporter's own line table, as the build step writes it and the lookup reads it.
//   table:  uint32 unit count, then the units
//   unit:   name, uint32 first line, uint32 code start, uint32 code size, uint32 length of the
//           line records, the line records
//   record: a line step and an address step from the current line and offset; the current line
//           covers [offset, offset + address step - 1]. A record may open a procedure, whose
//           name follows it. After the last record the current line covers the rest of the unit.
//   name:   a length byte and the bytes; a length of 128 or more holds the length in its low
//           7 bits and is followed by "." and a further name.
// Code offsets count from the module handle + 0x1000.
#pragma once
#include <cstdint>

namespace line_table {

// Record forms, told apart by the low bits of their first byte.
constexpr uint8_t kShortRecordFlag = 0x01;  // clear: one byte, line 1..4, address 1..32
constexpr uint8_t kWideRecordFlag = 0x02;   // with kShortRecordFlag: a 16- or 32-bit word
constexpr uint8_t kNewProcedureFlag = 0x04; // in the 16- and 32-bit words
constexpr uint8_t kLongRecordFlag = 0x08;   // with both flags above: a 32-bit word
constexpr uint32_t kEscape = 0x0FFEFFFE;    // a 32-bit word's value before two 16-bit steps
constexpr uint32_t kNoAddressStep = 4095;   // a 32-bit word's address field for a step of 0
constexpr uint32_t kLargestStep = 65536;    // of a 32-bit word's line, and of the escape's steps
constexpr uint8_t kNamePartFollows = 0x80;  // in a name's length byte
constexpr uint32_t kLongestNamePart = 127;

constexpr int kFirstVersionWithEscape = 423;
constexpr int kFirstVersionWithNameParts = 502;
constexpr int kFirstEncipheredVersion = 500;
constexpr uint8_t kOldNameMask = 0xA7; // names of tables before kFirstEncipheredVersion

constexpr uint32_t kCodeStart = 0x1000;

} // namespace line_table
