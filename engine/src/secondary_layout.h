// How the entries of a secondary index (.Xnn/.XGn) name their table record: in a keyed table
// by the record's primary key and its block, in an unkeyed one by the record's place (number,
// block and offset within the block). One description for the check, the restructure and the
// builder of indexes.
#pragma once
#include "table_header.h"
#include <string>
#include <vector>

namespace pdx {

// The names the original engine gives the fields that place an entry's record.
constexpr const char* kBlockFieldName = "Blk Num";
constexpr const char* kRecordNumberFieldName = "Tup No";
constexpr const char* kRecordOffsetFieldName = "Tup Offset";
// Set on the field ID of an index field sorted in descending order.
constexpr uint16_t kDescendingFieldId = 0x8000;

struct SecondaryLayout {
    unsigned indexedFields = 0; // the leading fields: copies of table fields
    bool byPlace = false;       // unkeyed table: the entry names the record's place
    unsigned keyOffset = 0;     // keyed table: where the table's primary key starts
    unsigned keySize = 0;
    unsigned blockOffset = 0;  // the data block that holds the record
    unsigned numberOffset = 0; // by place: the record's number
    unsigned placeOffset = 0;  // by place: its offset in the block, slot × record size
    // The table field each indexed field copies, null where the index does not tell.
    std::vector<const Field*> sources;
};

// The layout of the index with header `xh` over the table `h`: empty when its fields are the
// indexed fields followed by what names the record, else why they are not.
std::string DescribeSecondary(const TableHeader& xh, const TableHeader& h, SecondaryLayout& out);

// The slot of the entry's record among the `count` records of a block of the table (the block
// as read, header included), or -1 when none is the entry's.
int EntrySlot(const SecondaryLayout& layout, const TableHeader& h, const uint8_t* entry,
              const uint8_t* block, unsigned count);

// Whether the entry's indexed values equal those of the record.
bool SameIndexedValues(const SecondaryLayout& layout, const TableHeader& xh, const uint8_t* entry,
                       const uint8_t* record);

// Points the entry at the record in `slot` of the table's block `block`.
void PlaceEntry(const SecondaryLayout& layout, const TableHeader& h, uint8_t* entry, unsigned block,
                unsigned slot);

bool HasDescendingField(const TableHeader& xh);

// Whether the index is up to date with the table by the stamp (0x2E) the original engine
// keeps: equal to the table's, or one above it where a restructure added the index beside a
// table it did not rewrite.
bool IndexIsCurrent(const TableHeader& xh, const TableHeader& h);
// The second of those cases.
bool AddedByRestructure(const TableHeader& xh, const TableHeader& h);

} // namespace pdx
