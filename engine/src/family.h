// The files of one table (.DB with .PX, .MB, .VAL, .Xnn/.Ynn, .XGn/.YGn) and their replacement
// as one unit: new files are written under temporary names, a commit journal lists the renames,
// and an interrupted commit is finished (or an unfinished write discarded) by the next open.
#pragma once
#include <string>
#include <vector>

namespace pdx {

struct Family {
    std::string table;                  // full path of the .DB
    std::string primaryIndex;           // "" when absent
    std::string validity;               // .VAL, "" when absent
    std::vector<std::string> secondary; // .Xnn and .XGn files that exist
};

Family FindFamily(const std::string& tablePath);
// The .Ynn/.YGn that belongs to an .Xnn/.XGn.
std::string SecondaryTreeOf(const std::string& secondaryPath);
bool SameNameAscii(const std::string& a, const std::string& b);

std::string TemporaryName(const std::string& target);

// Replaces each target by its temporary file; the journal makes the set of renames atomic.
void CommitFamily(const std::string& tablePath, const std::vector<std::string>& targets);
// The two halves of a commit, for a writer that must write the journal while it still holds
// the table exclusively (so no other open can mistake its temporaries for leftovers).
void WriteJournal(const std::string& tablePath, const std::vector<std::string>& targets);
void FinishCommit(const std::string& tablePath, const std::vector<std::string>& targets);
// Removes temporary files of writes that never reached the journal.
void DiscardTemporaries(const std::vector<std::string>& targets);
// Finishes a journalled commit or removes an unjournalled one's leftovers. Best effort: a
// read-only folder is left as it is.
void RecoverFamily(const std::string& tablePath);

} // namespace pdx
