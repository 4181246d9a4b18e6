// The primary index (.PX) of a keyed table: one leaf entry per data block, upper levels as
// needed, rebuilt whole from the data blocks.
#pragma once
#include "table_header.h"
#include <string>
#include <vector>

namespace pdx {

// Leaf entries collected while data blocks are written: the key of each block's first record.
class LeafEntries {
  public:
    explicit LeafEntries(unsigned keySize) : keySize_(keySize) {}
    void Add(unsigned block, const uint8_t* key, unsigned count);
    size_t Size() const { return blocks_.size(); }
    unsigned KeySize() const { return keySize_; }
    const uint8_t* Key(size_t i) const { return keys_.data() + i * keySize_; }
    unsigned Block(size_t i) const { return blocks_[i]; }
    unsigned Count(size_t i) const { return counts_[i]; }

  private:
    unsigned keySize_;
    std::vector<uint8_t> keys_;
    std::vector<uint16_t> blocks_, counts_;
};

// The .PX header for a table: from the old index when there is one (unknown bytes kept),
// otherwise fresh. The stamp ties the index to the table's header change count.
TableHeader PrimaryIndexHeader(const TableHeader& table, const TableHeader* oldIndex,
                               const std::string& tableName);

// Entries the writer puts into each block of the index. A tree needs at least two a block:
// larger keys fail as not supported.
unsigned IndexBlockFill(const TableHeader& index, const std::string& path);

// Writes the complete index file. Entries fill each index block but one slot; the root sits in
// block 1 and the levels follow top-down, so the chain runs 1..n.
void WritePrimaryIndex(File& file, TableHeader& index, const LeafEntries& leaves);

} // namespace pdx
