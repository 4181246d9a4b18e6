// An open table: its data file held with the requested share mode, record-by-record reading
// in chain order, and inserting (keyed tables keep key order; their primary index is rebuilt
// when the cursor closes).
#pragma once
#include "restructure.h"
#include "table_header.h"
#include <optional>
#include <vector>

namespace pdx {

class TableCursor {
  public:
    TableCursor(const std::string& path, bool readOnly, bool exclusive,
                const PasswordCheck& hasPassword);
    ~TableCursor();

    const std::string& Path() const { return path_; }
    const TableHeader& Header() const { return h_; }
    bool Exclusive() const { return exclusive_; }
    bool ReadOnly() const { return readOnly_; }

    void Rewind();
    // Copies the next record into out (recordSize bytes); false at the end of the table.
    bool Next(uint8_t* out);
    void Insert(uint8_t* record);
    // Writes what inserting left pending (the primary index).
    void Close();

  private:
    struct Leaf {
        std::vector<uint8_t> firstKey;
        uint16_t block;
    };
    void LoadLeaves();
    size_t LeafFor(const uint8_t* key) const;
    int CompareKeys(const uint8_t* a, const uint8_t* b) const;
    void AssignAutoIncrement(uint8_t* record);
    void InsertUnkeyed(const uint8_t* record);
    void InsertKeyed(const uint8_t* record);
    void StoreHeader();
    void RebuildPrimaryIndex();
    void CheckCanInsert() const;

    std::string path_;
    File file_;
    TableHeader h_;
    bool readOnly_, exclusive_;
    // reading position
    std::vector<uint8_t> block_;
    unsigned block_no_ = 0, index_ = 0, count_ = 0, next_ = 0, steps_ = 0;
    bool started_ = false;
    // inserting
    std::optional<std::vector<Leaf>> leaves_;
    unsigned keySize_ = 0;
    bool indexDirty_ = false;
};

} // namespace pdx
