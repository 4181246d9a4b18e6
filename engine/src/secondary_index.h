// Secondary indexes (.Xnn/.XGn with their .Ynn/.YGn trees) across a restructure that moves
// records to new blocks: every entry's block hint is pointed at the record's new block.
#pragma once
#include "table_header.h"
#include <vector>

namespace pdx {

// Where the records of each old data block went: the position (0-based, in chain order of
// the new table) of the block's first record. Indexed by old block number.
struct RecordMoves {
    std::vector<uint32_t> firstPosition;
    unsigned newRecordsPerBlock = 1;
};

// Copies the index `x` (and its tree `y`, when present) to the outputs with every hint
// remapped. The old table (file and header) finds each entry's record by its key.
void RemapSecondaryIndex(const File& oldTable, const TableHeader& oldHeader,
                         const RecordMoves& moves, const TableHeader& newTable, const File& x,
                         File& xOut, const File* y, File* yOut);

} // namespace pdx
