#include "table_header.h"
#include "bytes.h"
#include "status.h"
#include <algorithm>
#include <cstring>
#include <ctime>

namespace pdx {

namespace {

[[noreturn]] void Corrupt(const File& file, const std::string& what) {
    Fail(DBIERR_HEADERCORRUPT, "File: " + file.Path() + " (" + what + ")");
}

class Cursor {
  public:
    Cursor(const File& file, const std::vector<uint8_t>& bytes, size_t at)
        : file_(file), bytes_(bytes), at_(at) {}
    const uint8_t* Take(size_t n, const char* what) {
        if (at_ + n > bytes_.size())
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
    void Seek(size_t at) { at_ = at; }

  private:
    const File& file_;
    const std::vector<uint8_t>& bytes_;
    size_t at_;
};

void DecodeFixedPart(TableHeader& h) {
    const uint8_t* p = h.prefix;
    h.recordSize = Get16(p + 0x00);
    h.headerSize = Get16(p + 0x02);
    h.fileType = p[0x04];
    h.blockKiB = p[0x05];
    h.numRecords = Get32(p + 0x06);
    h.usedBlocks = Get16(p + 0x0A);
    h.fileBlocks = Get16(p + 0x0C);
    h.firstBlock = Get16(p + 0x0E);
    h.lastBlock = Get16(p + 0x10);
    h.indexRoot = Get16(p + 0x1E);
    h.indexLevels = p[0x20];
    h.keyFields = Get16(p + 0x23);
    h.sortOrder = p[0x29];
    h.changeCount1 = p[0x2D];
    h.changeCount2 = p[0x2E];
    h.version = p[0x39];
    h.autoInc = Get32(p + 0x49);
    h.firstFreeBlock = Get16(p + 0x4D);
}

void CheckFixedPart(const File& file, const TableHeader& h, uint64_t fileSize) {
    if (h.fileType > ftMaintainedCompositeIndex)
        Corrupt(file, "unknown file type " + std::to_string(h.fileType));
    if (h.version < 3 || h.version > 12)
        Fail(DBIERR_UNSUPPORTEDVERSION,
             "File: " + file.Path() + " (version byte " + std::to_string(h.version) + ")");
    if (h.blockKiB < 1 || h.blockKiB > 32)
        Corrupt(file, "block size " + std::to_string(h.blockKiB) + " KiB");
    if (h.headerSize < kFixedPart || fileSize < h.headerSize)
        Corrupt(file, "header size " + std::to_string(h.headerSize));
    if (h.recordSize == 0 || h.recordSize > h.BlockSize() - 6)
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
    uint16_t numFields = Get16(h.prefix + 0x21);
    if (numFields == 0 || numFields > kMaxFields)
        Corrupt(file, "field count " + std::to_string(numFields));
    if (h.HasNames() && h.keyFields > numFields)
        Corrupt(file, "key field count " + std::to_string(h.keyFields));
    Cursor c(file, bytes, h.HasDataHeader() ? kDataHeaderEnd : kFixedPart);
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
        h.compact = h.headerSize % 0x800 != 0;
        if (h.compact)
            h.afterNames.assign(bytes.begin() + long(namesEnd), bytes.begin() + h.headerSize);
        return;
    }
    c.Seek(kFixedPart + Get16(h.prefix + 0x66));
    for (auto& f : h.fields)
        f.id = Get16(c.Take(2, "field numbers"));
    c.Seek(kFixedPart + Get16(h.prefix + 0x6E));
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

TableHeader ReadHeader(const File& file) {
    uint64_t fileSize = file.Size();
    TableHeader h;
    if (fileSize < kFixedPart)
        Corrupt(file, "file shorter than a header");
    file.ReadAt(0, h.prefix, sizeof h.prefix);
    DecodeFixedPart(h);
    CheckFixedPart(file, h, fileSize);
    std::vector<uint8_t> bytes(h.headerSize);
    file.ReadExact(0, bytes.data(), bytes.size());
    if (h.HasDataHeader() && h.headerSize < kDataHeaderEnd)
        Corrupt(file, "header too short for its version");
    if (!h.HasDataHeader())
        std::memset(h.prefix + kFixedPart, 0, kDataHeaderEnd - kFixedPart);
    uint32_t mark = Get32(h.prefix + 0x25);
    if (h.HasDataHeader()) {
        h.checksum = mark == kV4EncryptionMark ? Get32(h.prefix + 0x5C) : mark;
        h.hiFieldId = Get16(h.prefix + 0x64);
        h.codePage = Get16(h.prefix + 0x6A);
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
    unsigned size =
        (h.HasDataHeader() ? kDataHeaderEnd : kFixedPart) + unsigned(n) * 2 + 4 + h.TableNameArea();
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
    unsigned size = std::max<unsigned>(current, 0x800);
    while (size < content)
        size += 0x800;
    return uint16_t(size);
}

std::vector<uint8_t> WriteHeader(const TableHeader& h) {
    std::vector<uint8_t> out(h.headerSize, 0);
    size_t fixedEnd = h.HasDataHeader() ? kDataHeaderEnd : kFixedPart;
    std::memcpy(out.data(), h.prefix, fixedEnd);
    uint8_t* p = out.data();
    Put16(p + 0x00, h.recordSize);
    Put16(p + 0x02, h.headerSize);
    p[0x04] = h.fileType;
    p[0x05] = h.blockKiB;
    Put32(p + 0x06, h.numRecords);
    Put16(p + 0x0A, h.usedBlocks);
    Put16(p + 0x0C, h.fileBlocks);
    Put16(p + 0x0E, h.firstBlock);
    Put16(p + 0x10, h.lastBlock);
    p[0x14] = 0;
    Put16(p + 0x1E, h.indexRoot);
    p[0x20] = h.indexLevels;
    Put16(p + 0x21, uint16_t(h.fields.size()));
    Put16(p + 0x23, h.keyFields);
    p[0x29] = h.sortOrder;
    p[0x2A] = 0;
    p[0x2D] = h.changeCount1;
    p[0x2E] = h.changeCount2;
    p[0x39] = h.version;
    Put16(p + 0x3A, h.fileBlocks);
    Put32(p + 0x49, h.autoInc);
    Put16(p + 0x4D, h.firstFreeBlock);
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
        Put16(p + 0x51, uint16_t(at));
        return out;
    }
    for (const auto& f : h.fields) {
        std::memcpy(p + at, f.name.c_str(), f.name.size() + 1);
        at += f.name.size() + 1;
    }
    if (!h.HasDataHeader()) {
        std::copy(h.afterNames.begin(), h.afterNames.end(), p + at);
        Put32(p + 0x25, h.checksum);
        return out;
    }
    Put32(p + 0x25, kV4EncryptionMark);
    uint16_t versionWord = uint16_t(0x0100 + h.version);
    Put16(p + 0x58, versionWord);
    Put16(p + 0x5A, versionWord);
    Put32(p + 0x5C, h.checksum);
    Put32(p + 0x60, uint32_t(std::time(nullptr)));
    Put16(p + 0x64, h.hiFieldId);
    Put16(p + 0x66, uint16_t(at - kFixedPart));
    for (const auto& f : h.fields) {
        Put16(p + at, f.id);
        at += 2;
    }
    Put16(p + 0x6A, h.codePage);
    Put16(p + 0x6E, uint16_t(at - kFixedPart));
    std::memcpy(p + at, h.sortOrderId.c_str(), h.sortOrderId.size() + 1);
    at += h.sortOrderId.size() + 1;
    Put16(p + 0x51, uint16_t(at));
    return out;
}

} // namespace pdx
