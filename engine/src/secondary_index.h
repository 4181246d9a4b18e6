// Secondary indexes (.Xnn/.XGn with their .Ynn/.YGn trees) across a restructure that moves
// records to new blocks: every entry is pointed at the record's new place.
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

// Copies the index `x` (and its tree `y`, when present) to the outputs for the restructured
// table `newTable`. An index up to date with the table has every entry pointed at its record's
// new place, the record found in the old table (file and header) by its key or by its place;
// the tree follows, rebuilt where its keys hold places. An index that is not maintained and
// out of date is copied as it is, still out of date: the original engine rebuilds it on use.
void CarryOverSecondaryIndex(const File& oldTable, const TableHeader& oldHeader,
                             const RecordMoves& moves, const TableHeader& newTable, const File& x,
                             File& xOut, const File* y, File* yOut);

} // namespace pdx
