#include "primary_index.h"
#include "bytes.h"
#include "status.h"
#include "table_data.h"
#include <cstring>

namespace pdx {

void LeafEntries::Add(unsigned block, const uint8_t* key, unsigned count) {
    keys_.insert(keys_.end(), key, key + keySize_);
    blocks_.push_back(uint16_t(block));
    counts_.push_back(uint16_t(count));
}

TableHeader PrimaryIndexHeader(const TableHeader& table, const TableHeader* oldIndex,
                               const std::string& tableName) {
    TableHeader px;
    if (oldIndex) {
        px = *oldIndex;
    } else {
        px.blockKiB = 2;
        px.tableName = tableName;
        px.headerSize = hdr::kSizeStep;
    }
    px.fileType = ftPrimaryIndex;
    px.version = table.version;
    px.sortOrder = table.sortOrder;
    px.keyFields = 0;
    px.fields.assign(table.fields.begin(), table.fields.begin() + table.keyFields);
    Put(px.prefix, hdr::kIndexStamp, table.changeCount1);
    Put(px.prefix, hdr::kDataFileMark, 0);
    LayOutFields(px);
    while (px.recordSize > px.BlockSize() / 3 && px.blockKiB < 32)
        px.blockKiB = uint8_t(px.blockKiB * 2);
    px.headerSize = RequiredHeaderSize(px, px.headerSize);
    return px;
}

namespace {

struct Level {
    unsigned firstBlock;
    unsigned blocks;
};

unsigned CeilDiv(size_t a, unsigned b) {
    return unsigned((a + b - 1) / b);
}

} // namespace

unsigned IndexBlockFill(const TableHeader& index, const std::string& path) {
    const unsigned capacity = index.RecordsPerBlock();
    if (capacity < 2)
        Fail(DBIERR_NOTSUPPORTED, "File: " + path + " (index entries of " +
                                      std::to_string(index.recordSize) + " bytes: a " +
                                      std::to_string(index.blockKiB) +
                                      " KiB block holds fewer than two)");
    return capacity > 2 ? capacity - 1 : capacity;
}

void WritePrimaryIndex(File& file, TableHeader& index, const LeafEntries& leaves) {
    const unsigned keySize = leaves.KeySize();
    const unsigned fill = IndexBlockFill(index, file.Path());

    // Shape, bottom-up: entries per level until one block holds them all.
    std::vector<size_t> entries{leaves.Size()};
    while (entries.back() > fill)
        entries.push_back(CeilDiv(entries.back(), fill));
    const size_t levels = leaves.Size() ? entries.size() : 0;

    // Block numbers, top-down from the root in block 1.
    std::vector<Level> shape(entries.size());
    unsigned next = 1;
    for (size_t l = entries.size(); l-- > 0;) {
        shape[l] = {next, CeilDiv(entries[l], fill)};
        next += shape[l].blocks;
    }
    const unsigned totalBlocks = leaves.Size() ? next - 1 : 0;

    // Each level's entries: key, target block, record count.
    std::vector<uint8_t> keys(leaves.Size() * size_t(keySize));
    std::vector<uint16_t> targets(leaves.Size()), counts(leaves.Size());
    for (size_t i = 0; i < leaves.Size(); ++i) {
        std::memcpy(keys.data() + i * keySize, leaves.Key(i), keySize);
        targets[i] = uint16_t(leaves.Block(i));
        counts[i] = uint16_t(leaves.Count(i));
    }
    std::vector<uint8_t> block(index.BlockSize());
    uint64_t written = 0;
    for (size_t l = 0; l < levels; ++l) {
        std::vector<uint8_t> upKeys;
        std::vector<uint16_t> upTargets, upCounts;
        size_t n = targets.size();
        for (unsigned b = 0; b < shape[l].blocks; ++b) {
            std::fill(block.begin(), block.end(), 0);
            size_t first = size_t(b) * fill;
            size_t count = std::min<size_t>(fill, n - first);
            unsigned blockNo = shape[l].firstBlock + b;
            unsigned sum = 0;
            for (size_t i = 0; i < count; ++i) {
                uint8_t* rec = block.data() + blk::kRecords + i * index.recordSize;
                std::memcpy(rec, keys.data() + (first + i) * keySize, keySize);
                PutIndexShort(rec + keySize, targets[first + i]);
                PutIndexShort(rec + keySize + 2, counts[first + i]);
                PutIndexShort(rec + keySize + 4, 0);
                sum += counts[first + i];
            }
            Put(block.data(), blk::kNext, blockNo == totalBlocks ? 0 : uint16_t(blockNo + 1));
            Put(block.data(), blk::kPrevious, uint16_t(blockNo - 1));
            Put(block.data(), blk::kLastRecordOffset, int16_t((int(count) - 1) * index.recordSize));
            WriteBlock(file, index, blockNo, block.data());
            written += count;
            upKeys.insert(upKeys.end(), keys.begin() + long(first * keySize),
                          keys.begin() + long((first + 1) * keySize));
            upTargets.push_back(uint16_t(blockNo));
            upCounts.push_back(uint16_t(std::min(sum, 0xFFFFu)));
        }
        keys.swap(upKeys);
        targets.swap(upTargets);
        counts.swap(upCounts);
    }
    index.numRecords = uint32_t(written);
    index.usedBlocks = index.fileBlocks = index.lastBlock = uint16_t(totalBlocks);
    index.firstBlock = totalBlocks ? 1 : 0;
    index.firstFreeBlock = 0;
    index.indexRoot = 1;
    index.indexLevels = uint8_t(levels);
    std::vector<uint8_t> header = WriteHeader(index);
    file.WriteAt(0, header.data(), header.size());
}

} // namespace pdx
