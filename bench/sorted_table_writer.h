// Filling a table that was just created empty with records given in key order, straight
// through the engine core: full blocks 1..n and a primary index built bottom-up. Inserting one
// record at a time through the library is far too slow for the table sizes benchmarks need.
#pragma once
#include "primary_index.h"
#include "table_data.h"
#include "win_file.h"
#include <string>

class SortedTableWriter {
  public:
    explicit SortedTableWriter(const std::string& tablePath);
    SortedTableWriter(const SortedTableWriter&) = delete;
    SortedTableWriter& operator=(const SortedTableWriter&) = delete;

    const pdx::TableHeader& Header() const { return header_; }
    // Keyed tables take records in ascending order of their stored key bytes.
    void Append(const uint8_t* record) { writer_.Append(record); }
    // Writes the last block, the header and, for a keyed table, the primary index.
    void Finish();

  private:
    std::string path_;
    pdx::File file_;
    pdx::TableHeader header_;
    pdx::LeafEntries leaves_;
    pdx::BlockWriter writer_;
};
