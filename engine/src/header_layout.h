// Where the fields of the table family's headers lie, in file order: the fixed part and data
// header of .DB, .PX and .Xnn/.Ynn files, the data and index block header, the .VAL and the
// .MB. Readers, writers and checks take every offset from here; FORMAT.md beside the engine
// gives the evidence for each.
#pragma once
#include "bytes.h"
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace pdx {

// A field's offset, typed by how it is stored: a read and a write of the same field cannot
// disagree on its width. Every field is little-endian.
template <class T> struct At {
    static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4);
    uint16_t offset;
};

template <class T> T Get(const uint8_t* p, At<T> at) {
    if constexpr (sizeof(T) == 1)
        return T(p[at.offset]);
    else if constexpr (sizeof(T) == 2)
        return T(Get16(p + at.offset));
    else
        return T(Get32(p + at.offset));
}

template <class T> void Put(uint8_t* p, At<T> at, std::type_identity_t<T> value) {
    if constexpr (sizeof(T) == 1)
        p[at.offset] = uint8_t(value);
    else if constexpr (sizeof(T) == 2)
        Put16(p + at.offset, uint16_t(value));
    else
        Put32(p + at.offset, uint32_t(value));
}

// The header of .DB, .PX, .Xnn/.XGn and .Ynn/.YGn files.
namespace hdr {

// Fixed part: every file kind and version.
constexpr At<uint16_t> kRecordSize{0x00};
constexpr At<uint16_t> kHeaderSize{0x02}; // also where block 1 starts
constexpr At<uint8_t> kFileType{0x04};
constexpr At<uint8_t> kBlockKiB{0x05};
constexpr At<uint32_t> kNumRecords{0x06};
constexpr At<uint16_t> kUsedBlocks{0x0A}; // blocks in the chain
constexpr At<uint16_t> kFileBlocks{0x0C};
constexpr At<uint16_t> kFirstBlock{0x0E};
constexpr At<uint16_t> kLastBlock{0x10};
constexpr At<uint8_t> kRebuildFlag1{0x14};     // non-zero asks for a rebuild; we write 0
constexpr At<uint8_t> kIndexFieldNumber{0x15}; // .Xnn: the indexed field's number
constexpr At<uint16_t> kIndexRoot{0x1E};       // .PX/.Ynn
constexpr At<uint8_t> kIndexLevels{0x20};      // .PX/.Ynn
constexpr At<uint16_t> kNumFields{0x21};
constexpr At<uint16_t> kKeyFields{0x23};
constexpr At<uint32_t> kEncryption{0x25}; // the check value, or kV4EncryptionMark
constexpr At<uint8_t> kSortOrder{0x29};
constexpr At<uint8_t> kRebuildFlag2{0x2A};
constexpr At<uint8_t> kIndexStamp{0x2C}; // .PX/.Ynn: the indexed file's kChangeCount1
constexpr At<uint8_t> kChangeCount1{0x2D};
constexpr At<uint8_t> kChangeCount2{0x2E}; // .VAL and .Xnn carry a copy
constexpr At<uint8_t> kVersion{0x39};      // fileVersionID
constexpr At<uint16_t> kMaxBlocks{0x3A};   // equals kFileBlocks
constexpr At<uint16_t> kUnencryptedMark{0x3E};
constexpr At<uint32_t> kAutoInc{0x49}; // the last value handed out
constexpr At<uint16_t> kFirstFreeBlock{0x4D};
constexpr At<uint16_t> kUsedHeaderBytes{0x51};
constexpr At<uint8_t> kDataFileMark{0x56};
constexpr uint16_t kFixedPartEnd = 0x58;

// Data header: .DB and .Xnn of version 4 and later.
constexpr At<uint16_t> kVersionWord{0x58}; // 0x0100 + fileVersionID
constexpr At<uint16_t> kVersionWordAgain{0x5A};
constexpr At<uint32_t> kChecksum{0x5C};
constexpr At<uint32_t> kUpdateTime{0x60};
constexpr At<uint16_t> kHiFieldId{0x64};
constexpr At<uint16_t> kFieldIdsFrom{0x66}; // offset of the field IDs, from kFixedPartEnd
constexpr At<uint16_t> kCodePage{0x6A};
constexpr At<uint16_t> kIntegrityMark{0x6C};
constexpr At<uint16_t> kSortOrderIdFrom{0x6E}; // offset of the sort order name, likewise
constexpr At<uint16_t> kChangeCount4{0x70};
constexpr uint16_t kDataHeaderEnd = 0x78;

constexpr uint16_t kSizeStep = 0x800; // header sizes other than compact 3.0 ones

} // namespace hdr

// The header of every data block (.DB, .Xnn) and index block (.PX, .Ynn).
namespace blk {

constexpr At<uint16_t> kNext{0};            // 0 in the last block of the chain
constexpr At<uint16_t> kPrevious{2};        // 0 in the first
constexpr At<int16_t> kLastRecordOffset{4}; // (records - 1) * record size
constexpr size_t kRecords = 6;              // where the first record starts

} // namespace blk

// The validity-check file (.VAL), in its two layouts: the one of the 3.x era (version byte
// kEra3Version), whose checks run to the end of the file, and the later one, which ends in a
// footer with a copy of the table's field list.
namespace validity {

constexpr At<uint8_t> kStamp{0x00}; // the table's kChangeCount2
constexpr At<uint8_t> kVersion{0x01};
constexpr At<uint8_t> kCheckCount{0x02};
constexpr At<uint32_t> kFooter{0x09};    // later layout only
constexpr At<uint32_t> kIntegrity{0x0D}; // referential integrity section, 0 when none; likewise
constexpr size_t kEntriesStart = 0x35;
// Within the footer: the field count, then from kFooterLists one field ID per field, one
// (type, size) pair per field, the table's path and the field names.
constexpr At<uint16_t> kFooterFieldCount{0};
constexpr size_t kFooterLists = 6;
constexpr size_t kPathArea = 79;

// A check of the 3.x era: this fixed part, then a value (stored like the field) for each of
// minimum, maximum and default that is present, the lookup area when there is a lookup, and
// the picture when there is one. Present parts have a non-zero pointer, left from the memory
// of the program that wrote the file.
constexpr uint8_t kEra3Version = 1;
constexpr At<uint8_t> kCheckField{0x00}; // 0-based field number
constexpr At<uint8_t> kCheckPictureLength{0x01};
constexpr At<uint32_t> kCheckLookup{0x04};
constexpr At<uint32_t> kCheckMinimum{0x0C};
constexpr At<uint32_t> kCheckMaximum{0x10};
constexpr At<uint32_t> kCheckDefault{0x14};
constexpr At<uint32_t> kCheckPicture{0x18};
constexpr size_t kCheckFixedPart = 0x1C;
constexpr size_t kLookupArea = 80; // starts with the lookup table's name

} // namespace validity

// The memo/BLOB file (.MB) and the tail of a blob field that points into it.
namespace blob {

constexpr unsigned kUnit = 4096; // block sizes count these
enum BlockType : uint8_t { kHeaderBlock = 0, kSingleBlob = 2, kSubAllocated = 3 };

// Every block.
constexpr At<uint8_t> kType{0};
constexpr At<uint16_t> kUnits{1};
// The header block.
constexpr At<uint16_t> kModCount{3};
constexpr size_t kHeaderConstants = 5; // constant bytes the original engine writes
constexpr At<uint16_t> kHeaderMark{0x29};
// A block with one value.
constexpr At<uint32_t> kSingleLength{3};
constexpr size_t kSingleData = 9;
constexpr size_t kGraphicPrefix = 8; // graphic values start this much later
// A block of up to kSlotCount small values in 16-byte steps.
constexpr size_t kSlots = 12;
constexpr size_t kSlotSize = 5;
constexpr unsigned kSlotCount = 64;
constexpr unsigned kSlotStep = 16;

// The 10 bytes that end a blob field in its record.
constexpr At<uint32_t> kTailWhere{0}; // .MB offset of the block, slot index in the low byte
constexpr At<uint32_t> kTailLength{4};

} // namespace blob

} // namespace pdx
