// Consistency checks over the files of one table: the header, the block chain and free list,
// the primary index, secondary indexes with their trees, the validity file and memo references.
// Read-only: the files are opened shared and nothing is written or recovered.
#pragma once
#include "restructure.h"
#include <functional>
#include <string>

namespace pdx {

enum class Finding { Note, Problem };
using FindingSink = std::function<void(Finding kind, const std::string& text)>;

// Reports each finding as "<file>: <what>" and returns the number of problems. Fails with a
// status only when the check cannot run (table missing or held exclusively, password missing).
unsigned VerifyTable(const std::string& tablePath, const PasswordCheck& hasPassword,
                     const FindingSink& report);

} // namespace pdx
