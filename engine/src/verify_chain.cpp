#include "bytes.h"
#include "secondary_layout.h"
#include "table_data.h"
#include "verify_parts.h"
#include <cstring>

namespace pdx {

// Block by block rather than with the read-ahead of ChainReader: the chains worth checking are
// often out of physical order, where read-ahead rereads the file at every step.
ChainWalk WalkChain(const File& file, const TableHeader& h, unsigned keySize, Findings& findings,
                    Finding kind, const RecordVisitor& visit) {
    const std::string name = BaseName(file.Path());
    auto report = [&](const std::string& text) { findings.Report(kind, name, text); };
    ChainWalk walk;
    walk.inChain.assign(size_t(h.fileBlocks) + 1, false);
    std::vector<uint8_t> buf(h.BlockSize());
    unsigned previous = 0, blocks = 0;
    uint64_t records = 0;
    // Under the 'ascii' sort order stored keys sort as bytes: each must exceed the one before
    // (unless a field sorts descending).
    const bool ordered =
        h.keyFields > 0 && h.sortOrder == 0 && keySize > 0 && !HasDescendingField(h);
    std::vector<uint8_t> lastKey;
    bool disorder = false;
    for (unsigned b = h.firstBlock; b != 0; b = Get(buf.data(), blk::kNext)) {
        const std::string block = "block " + std::to_string(b);
        if (b > h.fileBlocks || walk.inChain[b]) {
            report("the chain reaches " + block +
                   (b > h.fileBlocks ? ", beyond the end of the file" : " twice"));
            return walk;
        }
        try {
            ReadBlock(file, h, b, buf.data());
        } catch (const EngineError& err) {
            report(WhatOf(err));
            return walk;
        }
        const int size = Get(buf.data(), blk::kLastRecordOffset) + h.recordSize;
        if (size < 0 || size % h.recordSize != 0 ||
            unsigned(size / h.recordSize) > h.RecordsPerBlock()) {
            report(block + " claims " + std::to_string(size) + " bytes of records");
            return walk;
        }
        const unsigned count = unsigned(size / h.recordSize);
        const uint8_t* first = buf.data() + blk::kRecords;
        const unsigned back = Get(buf.data(), blk::kPrevious);
        if (back != previous)
            report(block + " links back to block " + std::to_string(back) + ", not to block " +
                   std::to_string(previous));
        for (unsigned i = 0; ordered && !disorder && i < count; ++i) {
            const uint8_t* key = first + size_t(i) * h.recordSize;
            disorder = !lastKey.empty() && std::memcmp(lastKey.data(), key, keySize) >= 0;
            if (disorder)
                report("record " + std::to_string(records + i + 1) + " (" + block +
                       ") does not follow the key order");
            lastKey.assign(key, key + keySize);
        }
        // An empty file may keep one empty block in its chain: the original engine never frees
        // block 1 (legacy sample indexed.xg0, an index of an empty table).
        const bool emptyFile = h.numRecords == 0 && b == h.firstBlock && h.usedBlocks == 1;
        if (count == 0 && !emptyFile) {
            report(block + " is in the chain but empty");
        } else if (count > 0) {
            walk.blocks.push_back({b, count, {first, first + keySize}});
            if (visit)
                visit(b, first, count);
        }
        walk.inChain[b] = true;
        previous = b;
        ++blocks;
        records += count;
    }
    walk.complete = true;
    if (records != h.numRecords)
        report("header counts " + std::to_string(h.numRecords) +
               " records, the block chain holds " + std::to_string(records));
    if (blocks != h.usedBlocks)
        report("header counts " + std::to_string(h.usedBlocks) + " blocks in use, the chain has " +
               std::to_string(blocks));
    if (previous != h.lastBlock)
        report("header names block " + std::to_string(h.lastBlock) +
               " as the last, the chain ends at block " + std::to_string(previous));
    return walk;
}

} // namespace pdx
