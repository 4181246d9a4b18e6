// The files of one table (.DB with .PX, .MB, .VAL, .Xnn/.Ynn, .XGn/.YGn) and their replacement
// as one unit: new files are written under temporary names, a commit journal lists the renames,
// and an interrupted commit is finished (or an unfinished write discarded) by the next open.
#pragma once
#include "win_file.h"
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
// For a family that is not held open, such as a table being created.
void CommitFamily(const std::string& tablePath, const std::vector<std::string>& targets);
// The two halves of a commit, for a writer that holds the table lock: the table's .DB opened
// with no sharing, from its first read to the end of the commit, so that no other open can
// take its temporaries or its journal for the leftovers of a dead writer. FinishCommit moves
// the table's own file last and passes the lock on to the new file with it: `tableLock` is
// closed when it returns.
void WriteJournal(const std::string& tablePath, const std::vector<std::string>& targets);
void FinishCommit(const std::string& tablePath, const std::vector<std::string>& targets,
                  File& tableLock);
// Removes temporary files of writes that never reached the journal.
void DiscardTemporaries(const std::vector<std::string>& targets);
// Finishes a journalled commit or removes an unjournalled one's leftovers, under the table
// lock. Best effort: a family another process holds is left alone, and so is a read-only
// folder.
void RecoverFamily(const std::string& tablePath);

} // namespace pdx
