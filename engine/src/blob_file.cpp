#include "blob_file.h"
#include "bytes.h"
#include "paradox_crypt.h"
#include "status.h"
#include "table_data.h"
#include <cstring>

namespace pdx {

namespace {

[[noreturn]] void Corrupt(const std::string& path, const std::string& what) {
    Fail(DBIERR_BLOBCORRUPT, "File: " + path + " (" + what + ")");
}

// Reads [offset, offset + size) of the .MB, decrypted when the table is.
std::vector<uint8_t> ReadMb(const File& mb, const TableHeader& h, uint64_t offset, size_t size) {
    uint64_t first = offset & ~uint64_t(255);
    size_t span = size_t((offset + size + 255) / 256 * 256 - first);
    std::vector<uint8_t> buf(span);
    if (mb.ReadAt(first, buf.data(), span) < offset - first + size)
        Corrupt(mb.Path(), "value beyond the end of the file");
    if (h.Encrypted())
        DecryptBlobBytes(buf.data(), span, first, CipherKey(h));
    return std::vector<uint8_t>(buf.begin() + long(offset - first),
                                buf.begin() + long(offset - first + size));
}

} // namespace

uint32_t BlobLength(const Field& f, const uint8_t* stored) {
    return Get(stored + f.info - kBlobTail, blob::kTailLength);
}

std::vector<uint8_t> ReadBlob(const std::string& tablePath, const TableHeader& h, const Field& f,
                              const uint8_t* stored) {
    const unsigned leader = f.info - kBlobTail;
    const uint8_t* tail = stored + leader;
    uint32_t where = Get(tail, blob::kTailWhere), length = Get(tail, blob::kTailLength);
    if (length == 0)
        return {};
    if (where == 0) {
        if (length > leader)
            Fail(DBIERR_FILECORRUPT, "Table: " + tablePath + " (field " + f.name + ")");
        return std::vector<uint8_t>(stored, stored + length);
    }
    std::string path = StemOf(tablePath) + ".MB";
    File mb = File::Open(path, Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
    uint64_t blockStart = where & ~uint32_t(0xFF);
    unsigned index = where & 0xFF;
    std::vector<uint8_t> head =
        ReadMb(mb, h, blockStart, blob::kSlots + blob::kSlotCount * blob::kSlotSize);
    const uint8_t type = Get(head.data(), blob::kType);
    if (index == 0xFF) {
        if (type != blob::kSingleBlob)
            Corrupt(path, "block at " + std::to_string(blockStart) + " is not a value block");
        if (Get(head.data(), blob::kSingleLength) != length)
            Corrupt(path, "value length differs from the record's");
        size_t skip = blob::kSingleData + (f.type == pxGraphic ? blob::kGraphicPrefix : 0);
        return ReadMb(mb, h, blockStart + skip, length);
    }
    if (type != blob::kSubAllocated || index >= blob::kSlotCount)
        Corrupt(path,
                "block at " + std::to_string(blockStart) + " has no slot " + std::to_string(index));
    const uint8_t* slot = &head[blob::kSlots + index * blob::kSlotSize];
    uint64_t dataAt = blockStart + uint64_t(slot[0]) * blob::kSlotStep;
    uint64_t blockEnd = blockStart + uint64_t(Get(head.data(), blob::kUnits)) * blob::kUnit;
    if (slot[0] == 0 || dataAt + length > blockEnd)
        Corrupt(path,
                "slot " + std::to_string(index) + " of block at " + std::to_string(blockStart));
    return ReadMb(mb, h, dataAt, length);
}

} // namespace pdx
