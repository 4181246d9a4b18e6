#include "secondary_index.h"
#include "bytes.h"
#include "status.h"
#include "table_data.h"
#include <cstring>

namespace pdx {

namespace {

[[noreturn]] void OutOfDate(const File& x, const std::string& what) {
    Fail(DBIERR_INDEXCORRUPT, "File: " + x.Path() + " (" + what + ")");
}

// Finds the record with the given primary key in an old data block; returns its index.
unsigned FindInOldBlock(const File& table, const TableHeader& h, unsigned block, const uint8_t* key,
                        unsigned keySize, std::vector<uint8_t>& buf, unsigned& cachedBlock) {
    if (cachedBlock != block) {
        ReadBlock(table, h, block, buf.data());
        cachedBlock = block;
    }
    unsigned count = BlockRecordCount(table, h, block, buf.data());
    for (unsigned i = 0; i < count; ++i)
        if (std::memcmp(buf.data() + 6 + size_t(i) * h.recordSize, key, keySize) == 0)
            return i;
    return ~0u;
}

} // namespace

void RemapSecondaryIndex(const File& oldTable, const TableHeader& oldHeader,
                         const RecordMoves& moves, const TableHeader& newTable, const File& x,
                         File& xOut, const File* y, File* yOut) {
    TableHeader xh = ReadHeader(x);
    const unsigned tableKeys = oldHeader.keyFields;
    if (xh.keyFields < tableKeys || xh.fields.size() != size_t(xh.keyFields) + 1 ||
        xh.fields.back().type != pxShort)
        OutOfDate(x, "unexpected field layout");
    unsigned keySize = 0;
    for (unsigned i = 0; i < tableKeys; ++i)
        keySize += oldHeader.fields[i].StoredSize();
    const unsigned keyOffset = xh.fields[xh.keyFields - tableKeys].offset;
    const unsigned hintOffset = xh.fields.back().offset;

    // Copy the header and every block, then patch hints block by block in chain order.
    uint64_t size = x.Size();
    std::vector<uint8_t> raw(size_t(std::min<uint64_t>(size, xh.headerSize)));
    x.ReadExact(0, raw.data(), raw.size());
    raw[0x2D] = uint8_t(xh.changeCount1 + 1);
    raw[0x2E] = newTable.changeCount2;
    xOut.WriteAt(0, raw.data(), raw.size());
    std::vector<uint8_t> block(xh.BlockSize()), tableBlock(oldHeader.BlockSize());
    for (unsigned b = 1; b <= xh.fileBlocks; ++b) {
        ReadBlock(x, xh, b, block.data());
        WriteBlock(xOut, xh, b, block.data());
    }
    unsigned cached = 0;
    ChainReader chain(x, xh);
    while (chain.Next()) {
        std::vector<uint8_t> copy(chain.Data(), chain.Data() + xh.BlockSize());
        for (unsigned i = 0; i < chain.Count(); ++i) {
            uint8_t* rec = copy.data() + 6 + size_t(i) * xh.recordSize;
            unsigned oldBlock = GetIndexShort(rec + hintOffset);
            if (oldBlock == 0 || oldBlock >= moves.firstPosition.size() ||
                moves.firstPosition[oldBlock] == ~0u)
                OutOfDate(x, "entry points at block " + std::to_string(oldBlock));
            unsigned at = FindInOldBlock(oldTable, oldHeader, oldBlock, rec + keyOffset, keySize,
                                         tableBlock, cached);
            if (at == ~0u)
                OutOfDate(x, "entry does not match its table record; rebuild the index");
            uint32_t position = moves.firstPosition[oldBlock] + at;
            PutIndexShort(rec + hintOffset, uint16_t(position / moves.newRecordsPerBlock + 1));
        }
        WriteBlock(xOut, xh, chain.Block(), copy.data());
    }
    if (!y)
        return;
    uint64_t ySize = y->Size();
    std::vector<uint8_t> tree(static_cast<size_t>(ySize));
    y->ReadExact(0, tree.data(), tree.size());
    if (tree.size() > 0x2C)
        tree[0x2C] = raw[0x2D];
    yOut->WriteAt(0, tree.data(), tree.size());
}

} // namespace pdx
