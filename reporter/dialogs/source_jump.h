// The jump from a call-stack row to its source: a record the development environment reads
// from its mailslot to open the unit at the line.
#pragma once
#include "reporter/dialogs/page_lists.h"
#include <array>
#include <cstdint>

constexpr size_t kSourceJumpFieldSize = 90;
constexpr size_t kSourceJumpRecordSize = 4 * kSourceJumpFieldSize + 4 + 4 + 8;

// Four zero-terminated 90-byte texts (empty, unit, class, procedure; longer names cut to fit),
// the line, the line offset (-1 when the row has none) and the module's 8-byte build time.
// The row's cells are the call-stack page's: address, module, unit, class, procedure, line.
std::array<uint8_t, kSourceJumpRecordSize> SourceJumpRecord(const TListRow& row);

// Whether the row names a line to jump to.
bool HasSourceLine(const TListRow& row);

// Writes the record to the development environment's mailslot: the parent process's when that
// is the development environment, else the one numbered 0. A mailslot that is not there is no
// error.
void SendSourceJump(const TListRow& row);
