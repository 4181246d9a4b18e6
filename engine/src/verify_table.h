// Consistency checks over the files of one table: the header, the block chain and free list,
// the primary index, secondary indexes with their trees, the validity file and memo references.
// Read-only: the files are opened shared and nothing is written or recovered.
#pragma once
#include "restructure.h"
#include <functional>
#include <string>

namespace pdx {

// A problem is damage: something the original engine could not have written. What the engine
// cannot interpret is reported as not understood, neither sound nor damaged.
enum class Finding { Note, Problem, NotUnderstood };
using FindingSink = std::function<void(Finding kind, const std::string& text)>;

// Reports each finding as "<file>: <what>" and returns the number of problems (findings not
// understood are not counted among them). Fails with a
// status only when the check cannot run (table missing or held exclusively, password missing).
unsigned VerifyTable(const std::string& tablePath, const PasswordCheck& hasPassword,
                     const FindingSink& report);

} // namespace pdx
