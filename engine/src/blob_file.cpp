#include "blob_file.h"
#include "bytes.h"
#include "paradox_crypt.h"
#include "status.h"
#include "table_data.h"
#include <cstring>

namespace pdx {

namespace {

constexpr unsigned kMbBlock = 4096;
constexpr uint8_t kSingleBlob = 2;
constexpr uint8_t kSubAllocated = 3;

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
    return Get32(stored + f.info - kBlobTail + 4);
}

std::vector<uint8_t> ReadBlob(const std::string& tablePath, const TableHeader& h, const Field& f,
                              const uint8_t* stored) {
    const unsigned leader = f.info - kBlobTail;
    const uint8_t* tail = stored + leader;
    uint32_t where = Get32(tail), length = Get32(tail + 4);
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
    std::vector<uint8_t> head = ReadMb(mb, h, blockStart, 12 + 64 * 5);
    if (index == 0xFF) {
        if (head[0] != kSingleBlob)
            Corrupt(path, "block at " + std::to_string(blockStart) + " is not a value block");
        if (Get32(&head[3]) != length)
            Corrupt(path, "value length differs from the record's");
        unsigned skip = 9 + (f.type == pxGraphic ? 8 : 0);
        return ReadMb(mb, h, blockStart + skip, length);
    }
    if (head[0] != kSubAllocated || index >= 64)
        Corrupt(path,
                "block at " + std::to_string(blockStart) + " has no slot " + std::to_string(index));
    const uint8_t* slot = &head[12 + index * 5];
    uint64_t dataAt = blockStart + uint64_t(slot[0]) * 16;
    if (slot[0] == 0 || dataAt + length > blockStart + uint64_t(Get16(&head[1])) * kMbBlock)
        Corrupt(path,
                "slot " + std::to_string(index) + " of block at " + std::to_string(blockStart));
    return ReadMb(mb, h, dataAt, length);
}

} // namespace pdx
