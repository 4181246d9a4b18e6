// The header of a Paradox file (.DB, .PX, .Xnn/.Ynn): parsing with validation for every
// version from 3.0 to 7, and writing.
#pragma once
#include "field_types.h"
#include "header_layout.h"
#include "win_file.h"
#include <cstdint>
#include <string>
#include <vector>

namespace pdx {

enum FileType : uint8_t {
    ftKeyedTable = 0,
    ftPrimaryIndex = 1,
    ftTable = 2,
    ftSecondaryIndex = 3,
    ftSecondaryIndexTree = 4,
    ftMaintainedSecondaryIndex = 5,
    ftCompositeIndex = 6,
    ftCompositeIndexTree = 7,
    ftMaintainedCompositeIndex = 8,
};

// hdr::kEncryption of version 4 and later files: the check value sits in hdr::kChecksum.
constexpr uint32_t kV4EncryptionMark = 0xFF00FF00;
constexpr uint8_t kVersion5 = 11; // fileVersionID of a level 5 table

// The table level (3, 4, 5 or 7) a fileVersionID belongs to.
inline uint16_t TableLevel(uint8_t version) {
    if (version <= 4)
        return 3;
    if (version <= 9)
        return 4;
    return version <= 11 ? 5 : 7;
}

struct TableHeader {
    uint8_t prefix[hdr::kDataHeaderEnd] = {}; // fixed part and data header as read; unknown
                                              // bytes kept

    uint16_t recordSize = 0;
    uint16_t headerSize = 0;
    uint8_t fileType = 0;
    uint8_t blockKiB = 0;
    uint32_t numRecords = 0;
    uint16_t usedBlocks = 0; // blocks in the chain
    uint16_t fileBlocks = 0;
    uint16_t firstBlock = 0;
    uint16_t lastBlock = 0;
    uint16_t indexRoot = 0;
    uint8_t indexLevels = 0;
    uint16_t keyFields = 0;
    uint8_t sortOrder = 0;
    uint8_t changeCount1 = 0;
    uint8_t changeCount2 = 0;
    uint8_t version = 0; // fileVersionID
    uint32_t autoInc = 0;
    uint16_t firstFreeBlock = 0;
    uint32_t checksum = 0; // password check value, 0 when not encrypted
    uint16_t hiFieldId = 0;
    uint16_t codePage = 0;

    std::vector<Field> fields;
    uint32_t tableNamePtr = 0;
    std::vector<uint32_t> fieldNamePtrs;
    std::string tableName;
    std::string sortOrderId;
    std::vector<uint8_t> afterNames; // bytes a compact 3.x header keeps after the names
    bool compact = false;            // 3.x header exactly as long as its content

    bool HasNames() const { return fileType != ftPrimaryIndex && !IsIndexTree(); }
    bool IsIndexTree() const {
        return fileType == ftSecondaryIndexTree || fileType == ftCompositeIndexTree;
    }
    bool HasDataHeader() const { return HasNames() && version >= 5; }
    bool Encrypted() const { return checksum != 0; }
    unsigned BlockSize() const { return blockKiB * 1024u; }
    unsigned RecordSpace() const { return BlockSize() - unsigned(blk::kRecords); } // per block
    unsigned RecordsPerBlock() const { return RecordSpace() / recordSize; }
    unsigned TableNameArea() const { return version >= 12 ? 261 : 79; }
    uint64_t BlockOffset(unsigned block) const {
        return headerSize + uint64_t(block - 1) * BlockSize();
    }
};

// Reads and validates the header of an open file; failures name the file.
TableHeader ReadHeader(const File& file);

// The header bytes for h, padded to h.headerSize (which the caller has made large enough with
// RequiredHeaderSize). Counters, offsets and sizes are taken from h; unknown bytes from prefix.
std::vector<uint8_t> WriteHeader(const TableHeader& h);
// Bytes the content of h occupies, and the header size a writer should use for it.
unsigned HeaderContentSize(const TableHeader& h);
uint16_t RequiredHeaderSize(const TableHeader& h, uint16_t current);

// Fills in offsets and recordSize from the field list.
void LayOutFields(TableHeader& h);

// Bytes of the leading key fields.
unsigned KeySize(const TableHeader& h, unsigned keyFields);
// Whether two field lists agree in type and size over n fields from the given starts.
bool SameLayout(const std::vector<Field>& a, size_t aFirst, const std::vector<Field>& b,
                size_t bFirst, size_t n);

// Zeroes the data header in h.prefix.
void ClearDataHeader(TableHeader& h);
// Gives the header of a 3.x file, before its version is raised, the data header of later
// levels with the code page and sort order name given; field IDs stay the fields' places.
void AddDataHeader(TableHeader& h, uint16_t codePage, const std::string& sortOrderId);
// hdr::kVersionWord for a fileVersionID.
inline uint16_t VersionWord(uint8_t version) {
    return uint16_t(0x0100 + version);
}
// Bytes of unknown meaning that the original engine writes into the data header of every .DB
// and .Xnn it makes; ours carry them too.
void SetDataHeaderMarks(TableHeader& h);
// A word the original engine writes into the fixed part of the .DB and .Xnn it makes, where
// only encrypted files have it zero.
void SetEncryptionMark(TableHeader& h);

} // namespace pdx
