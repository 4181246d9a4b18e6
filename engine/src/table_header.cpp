#include "table_header.h"
#include "header_layout.h"
#include "status.h"
#include <algorithm>
#include <cstring>
#include <ctime>

namespace pdx {

namespace {

[[noreturn]] void Corrupt(const File& file, const std::string& what) {
    Fail(DBIERR_HEADERCORRUPT, "File: " + file.Path() + " (" + what + ")");
}

// Where the variable part starts: after the data header where the file has one.
unsigned FixedEnd(const TableHeader& h) {
    return h.HasDataHeader() ? hdr::kDataHeaderEnd : hdr::kFixedPartEnd;
}

// Reads the regions of a header in file order. Where a region lies comes from the file, so
// each must start within the header and not before the end of the one read before: a damaged
// offset can neither lead past the header nor make regions overlap, which would make the
// content outgrow the header it is written back into.
class Cursor {
  public:
    Cursor(const File& file, const std::vector<uint8_t>& bytes, size_t at)
        : file_(file), bytes_(bytes), at_(at) {}
    const uint8_t* Take(size_t n, const char* what) {
        if (!Fits(at_, n, bytes_.size()))
            Corrupt(file_, std::string(what) + " past the end of the header");
        const uint8_t* p = bytes_.data() + at_;
        at_ += n;
        return p;
    }
    std::string String(const char* what) {
        auto begin = bytes_.begin() + long(at_);
        auto nul = std::find(begin, bytes_.end(), 0);
        if (nul == bytes_.end())
            Corrupt(file_, std::string(what) + " not terminated");
        std::string s(begin, nul);
        at_ += s.size() + 1;
        return s;
    }
    size_t At() const { return at_; }
    // Moves to the region an offset of the header names.
    void SeekForward(size_t at, const char* what) {
        if (at > bytes_.size())
            Corrupt(file_, std::string(what) + " past the end of the header");
        if (at < at_)
            Corrupt(file_, std::string(what) + " overlapping the region before");
        at_ = at;
    }

  private:
    const File& file_;
    const std::vector<uint8_t>& bytes_;
    size_t at_;
};

// Header fields that TableHeader keeps as they are stored: read and written from this one list.
#define PDX_PLAIN_HEADER_FIELDS(X)                                                                 \
    X(recordSize, kRecordSize)                                                                     \
    X(headerSize, kHeaderSize)                                                                     \
    X(fileType, kFileType)                                                                         \
    X(blockKiB, kBlockKiB)                                                                         \
    X(numRecords, kNumRecords)                                                                     \
    X(usedBlocks, kUsedBlocks)                                                                     \
    X(fileBlocks, kFileBlocks)                                                                     \
    X(firstBlock, kFirstBlock)                                                                     \
    X(lastBlock, kLastBlock)                                                                       \
    X(indexRoot, kIndexRoot)                                                                       \
    X(indexLevels, kIndexLevels)                                                                   \
    X(keyFields, kKeyFields)                                                                       \
    X(sortOrder, kSortOrder)                                                                       \
    X(changeCount1, kChangeCount1)                                                                 \
    X(changeCount2, kChangeCount2)                                                                 \
    X(version, kVersion)                                                                           \
    X(autoInc, kAutoInc)                                                                           \
    X(firstFreeBlock, kFirstFreeBlock)

void DecodeFixedPart(TableHeader& h) {
#define PDX_GET(member, field) h.member = Get(h.prefix, hdr::field);
    PDX_PLAIN_HEADER_FIELDS(PDX_GET)
#undef PDX_GET
}

void CheckFixedPart(const File& file, const TableHeader& h, uint64_t fileSize) {
    if (h.fileType > ftMaintainedCompositeIndex)
        Corrupt(file, "unknown file type " + std::to_string(h.fileType));
    if (h.version < 3 || h.version > 12)
        Fail(DBIERR_UNSUPPORTEDVERSION,
             "File: " + file.Path() + " (version byte " + std::to_string(h.version) + ")");
    if (h.blockKiB < 1 || h.blockKiB > 32)
        Corrupt(file, "block size " + std::to_string(h.blockKiB) + " KiB");
    if (h.headerSize < hdr::kFixedPartEnd || fileSize < h.headerSize)
        Corrupt(file, "header size " + std::to_string(h.headerSize));
    if (h.recordSize == 0 || h.recordSize > h.RecordSpace())
        Corrupt(file, "record size " + std::to_string(h.recordSize));
    uint64_t physical = (fileSize - h.headerSize + h.BlockSize() - 1) / h.BlockSize();
    if (h.fileBlocks > physical)
        Corrupt(file, "header counts " + std::to_string(h.fileBlocks) + " blocks, file holds " +
                          std::to_string(physical));
    if (h.firstBlock > h.fileBlocks || h.lastBlock > h.fileBlocks ||
        h.firstFreeBlock > h.fileBlocks || h.usedBlocks > h.fileBlocks)
        Corrupt(file, "block numbers beyond the end of the file");
    if (h.numRecords > 0 && h.firstBlock == 0)
        Corrupt(file, "records without a first block");
    const uint64_t room = uint64_t(h.fileBlocks) * h.RecordsPerBlock();
    if (h.numRecords > room)
        Corrupt(file, "header counts " + std::to_string(h.numRecords) +
                          " records, its blocks hold at most " + std::to_string(room));
}

void ReadFields(const File& file, TableHeader& h, Cursor& c, uint16_t count) {
    h.fields.resize(count);
    for (auto& f : h.fields) {
        const uint8_t* p = c.Take(2, "field list");
        f.type = p[0];
        f.info = p[1];
        if (!IsKnownType(f.type) || !IsValidInfo(f.type, f.info))
            Corrupt(file,
                    "field type " + std::to_string(f.type) + " size " + std::to_string(f.info));
    }
}

void ReadVariablePart(const File& file, TableHeader& h, const std::vector<uint8_t>& bytes) {
    uint16_t numFields = Get(h.prefix, hdr::kNumFields);
    if (numFields == 0 || numFields > kMaxFields)
        Corrupt(file, "field count " + std::to_string(numFields));
    if (h.HasNames() && h.keyFields > numFields)
        Corrupt(file, "key field count " + std::to_string(h.keyFields));
    Cursor c(file, bytes, FixedEnd(h));
    ReadFields(file, h, c, numFields);
    h.tableNamePtr = Get32(c.Take(4, "table name pointer"));
    if (h.HasNames())
        for (uint16_t i = 0; i < numFields; ++i)
            h.fieldNamePtrs.push_back(Get32(c.Take(4, "field name pointers")));
    const uint8_t* name = c.Take(h.TableNameArea(), "table name");
    h.tableName.assign(reinterpret_cast<const char*>(name),
                       strnlen(reinterpret_cast<const char*>(name), h.TableNameArea()));
    if (!h.HasNames())
        return;
    for (auto& f : h.fields)
        f.name = c.String("field name");
    size_t namesEnd = c.At();
    if (!h.HasDataHeader()) {
        for (uint16_t i = 0; i < numFields; ++i)
            h.fields[i].id = uint16_t(i + 1);
        h.compact = h.headerSize % hdr::kSizeStep != 0;
        if (h.compact)
            h.afterNames.assign(bytes.begin() + long(namesEnd), bytes.begin() + h.headerSize);
        return;
    }
    c.SeekForward(hdr::kFixedPartEnd + Get(h.prefix, hdr::kFieldIdsFrom), "field numbers");
    for (auto& f : h.fields)
        f.id = Get16(c.Take(2, "field numbers"));
    c.SeekForward(hdr::kFixedPartEnd + Get(h.prefix, hdr::kSortOrderIdFrom), "sort order name");
    h.sortOrderId = c.String("sort order name");
}

void CheckRecordSize(const File& file, TableHeader& h) {
    unsigned sum = 0;
    for (const auto& f : h.fields)
        sum += f.StoredSize();
    if (!h.HasNames())
        sum += 6; // index entries: block, count and a spare short
    if (sum != h.recordSize)
        Corrupt(file, "record size " + std::to_string(h.recordSize) + " but fields need " +
                          std::to_string(sum));
}

} // namespace

void LayOutFields(TableHeader& h) {
    uint16_t offset = 0;
    for (auto& f : h.fields) {
        f.offset = offset;
        offset = uint16_t(offset + f.StoredSize());
    }
    h.recordSize = uint16_t(offset + (h.HasNames() ? 0 : 6));
}

unsigned KeySize(const TableHeader& h, unsigned keyFields) {
    unsigned size = 0;
    for (unsigned i = 0; i < keyFields && i < h.fields.size(); ++i)
        size += h.fields[i].StoredSize();
    return size;
}

bool SameLayout(const std::vector<Field>& a, size_t aFirst, const std::vector<Field>& b,
                size_t bFirst, size_t n) {
    if (aFirst + n > a.size() || bFirst + n > b.size())
        return false;
    for (size_t i = 0; i < n; ++i)
        if (a[aFirst + i].type != b[bFirst + i].type || a[aFirst + i].info != b[bFirst + i].info)
            return false;
    return true;
}

void ClearDataHeader(TableHeader& h) {
    std::memset(h.prefix + hdr::kFixedPartEnd, 0, hdr::kDataHeaderEnd - hdr::kFixedPartEnd);
}

void AddDataHeader(TableHeader& h, uint16_t codePage, const std::string& sortOrderId) {
    ClearDataHeader(h);
    SetDataHeaderMarks(h);
    h.codePage = codePage;
    h.sortOrderId = sortOrderId;
    h.hiFieldId = uint16_t(h.fields.size() + 1);
    h.afterNames.clear();
    h.compact = false;
}

void SetDataHeaderMarks(TableHeader& h) {
    Put(h.prefix, hdr::kDataFileMark, 0x20);
    Put(h.prefix, hdr::kIntegrityMark, 0x0101);
    Put(h.prefix, hdr::kChangeCount4, 1);
}

void SetEncryptionMark(TableHeader& h) {
    Put(h.prefix, hdr::kUnencryptedMark, h.Encrypted() ? 0 : 0x0F1F);
}

TableHeader ReadHeader(const File& file) {
    uint64_t fileSize = file.Size();
    TableHeader h;
    if (fileSize < hdr::kFixedPartEnd)
        Corrupt(file, "file shorter than a header");
    file.ReadAt(0, h.prefix, sizeof h.prefix);
    DecodeFixedPart(h);
    CheckFixedPart(file, h, fileSize);
    std::vector<uint8_t> bytes(h.headerSize);
    file.ReadExact(0, bytes.data(), bytes.size());
    if (h.HasDataHeader() && h.headerSize < hdr::kDataHeaderEnd)
        Corrupt(file, "header too short for its version");
    if (!h.HasDataHeader())
        ClearDataHeader(h);
    uint32_t mark = Get(h.prefix, hdr::kEncryption);
    if (h.HasDataHeader()) {
        h.checksum = mark == kV4EncryptionMark ? Get(h.prefix, hdr::kChecksum) : mark;
        h.hiFieldId = Get(h.prefix, hdr::kHiFieldId);
        h.codePage = Get(h.prefix, hdr::kCodePage);
    } else {
        h.checksum = mark;
    }
    ReadVariablePart(file, h, bytes);
    CheckRecordSize(file, h);
    LayOutFields(h);
    return h;
}

unsigned HeaderContentSize(const TableHeader& h) {
    size_t n = h.fields.size();
    unsigned size = FixedEnd(h) + unsigned(n) * 2 + 4 + h.TableNameArea();
    if (!h.HasNames())
        return size;
    size += unsigned(n) * 4;
    for (const auto& f : h.fields)
        size += unsigned(f.name.size()) + 1;
    if (!h.HasDataHeader())
        return size + unsigned(h.afterNames.size());
    return size + unsigned(n) * 2 + unsigned(h.sortOrderId.size()) + 1;
}

uint16_t RequiredHeaderSize(const TableHeader& h, uint16_t current) {
    unsigned content = HeaderContentSize(h);
    if (h.compact)
        return uint16_t(content);
    unsigned size = std::max<unsigned>(current, hdr::kSizeStep);
    while (size < content)
        size += hdr::kSizeStep;
    return uint16_t(size);
}

std::vector<uint8_t> WriteHeader(const TableHeader& h) {
    // Content larger than the header would be written past it.
    const unsigned content = HeaderContentSize(h);
    if (content > h.headerSize)
        Fail(DBIERR_HEADERCORRUPT, "Table: " + h.tableName + " (content of " +
                                       std::to_string(content) + " bytes, header of " +
                                       std::to_string(h.headerSize) + ")");
    std::vector<uint8_t> out(h.headerSize, 0);
    size_t fixedEnd = FixedEnd(h);
    std::memcpy(out.data(), h.prefix, fixedEnd);
    uint8_t* p = out.data();
#define PDX_PUT(member, field) Put(p, hdr::field, h.member);
    PDX_PLAIN_HEADER_FIELDS(PDX_PUT)
#undef PDX_PUT
    Put(p, hdr::kRebuildFlag1, 0);
    Put(p, hdr::kNumFields, uint16_t(h.fields.size()));
    Put(p, hdr::kRebuildFlag2, 0);
    Put(p, hdr::kMaxBlocks, h.fileBlocks);
    size_t at = fixedEnd;
    for (const auto& f : h.fields) {
        p[at++] = f.type;
        p[at++] = f.info;
    }
    Put32(p + at, h.tableNamePtr);
    at += 4;
    if (h.HasNames()) {
        for (size_t i = 0; i < h.fields.size(); ++i, at += 4)
            Put32(p + at, i < h.fieldNamePtrs.size() ? h.fieldNamePtrs[i] : 0);
    }
    std::memcpy(p + at, h.tableName.data(),
                std::min<size_t>(h.tableName.size(), h.TableNameArea() - 1));
    at += h.TableNameArea();
    if (!h.HasNames()) {
        Put(p, hdr::kUsedHeaderBytes, uint16_t(at));
        return out;
    }
    for (const auto& f : h.fields) {
        std::memcpy(p + at, f.name.c_str(), f.name.size() + 1);
        at += f.name.size() + 1;
    }
    if (!h.HasDataHeader()) {
        std::copy(h.afterNames.begin(), h.afterNames.end(), p + at);
        Put(p, hdr::kEncryption, h.checksum);
        return out;
    }
    Put(p, hdr::kEncryption, kV4EncryptionMark);
    Put(p, hdr::kVersionWord, VersionWord(h.version));
    Put(p, hdr::kVersionWordAgain, VersionWord(h.version));
    Put(p, hdr::kChecksum, h.checksum);
    Put(p, hdr::kUpdateTime, uint32_t(std::time(nullptr)));
    Put(p, hdr::kHiFieldId, h.hiFieldId);
    Put(p, hdr::kFieldIdsFrom, uint16_t(at - hdr::kFixedPartEnd));
    for (const auto& f : h.fields) {
        Put16(p + at, f.id);
        at += 2;
    }
    Put(p, hdr::kCodePage, h.codePage);
    Put(p, hdr::kSortOrderIdFrom, uint16_t(at - hdr::kFixedPartEnd));
    std::memcpy(p + at, h.sortOrderId.c_str(), h.sortOrderId.size() + 1);
    at += h.sortOrderId.size() + 1;
    Put(p, hdr::kUsedHeaderBytes, uint16_t(at));
    return out;
}

} // namespace pdx
