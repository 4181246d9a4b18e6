#include "secondary_index.h"
#include "bytes.h"
#include "status.h"
#include "table_data.h"
#include <algorithm>
#include <cstring>

namespace pdx {

namespace {

constexpr size_t kBatchBytes = 1024 * 1024; // index blocks patched together

[[noreturn]] void OutOfDate(const File& x, const std::string& what) {
    Fail(DBIERR_INDEXCORRUPT, "File: " + x.Path() + " (" + what + ")");
}

// Where an index entry's primary key sits and which table block its hint names.
struct IndexEntry {
    uint16_t oldBlock;
    size_t offset; // of the entry within the batch
};

// Index blocks in chain order, patched a batch at a time: the batch's entries are visited in
// the order of the table blocks they name, so each old table block is read once per batch and
// in ascending order, whatever the index's order is.
class HintPatcher {
  public:
    HintPatcher(const File& oldTable, const TableHeader& oldHeader, const RecordMoves& moves,
                const File& x, const TableHeader& xh)
        : oldTable_(oldTable), oldHeader_(oldHeader), moves_(moves), x_(x), xh_(xh),
          table_(oldTable, oldHeader) {
        const unsigned tableKeys = oldHeader.keyFields;
        if (xh.keyFields < tableKeys || xh.fields.size() != size_t(xh.keyFields) + 1 ||
            xh.fields.back().type != pxShort)
            OutOfDate(x, "unexpected field layout");
        for (unsigned i = 0; i < tableKeys; ++i)
            keySize_ += oldHeader.fields[i].StoredSize();
        keyOffset_ = xh.fields[xh.keyFields - tableKeys].offset;
        hintOffset_ = xh.fields.back().offset;
    }

    void Add(unsigned block, unsigned count, const uint8_t* data) {
        size_t at = batch_.size();
        batch_.insert(batch_.end(), data, data + xh_.BlockSize());
        blocks_.push_back(uint16_t(block));
        for (unsigned i = 0; i < count; ++i) {
            size_t offset = at + blk::kRecords + size_t(i) * xh_.recordSize;
            unsigned oldBlock = GetIndexShort(batch_.data() + offset + hintOffset_);
            if (oldBlock == 0 || oldBlock >= moves_.firstPosition.size() ||
                moves_.firstPosition[oldBlock] == ~0u)
                OutOfDate(x_, "entry points at block " + std::to_string(oldBlock));
            entries_.push_back({uint16_t(oldBlock), offset});
        }
    }

    bool Full() const { return batch_.size() >= kBatchBytes; }

    void PatchAndWrite(File& xOut) {
        std::stable_sort(
            entries_.begin(), entries_.end(),
            [](const IndexEntry& a, const IndexEntry& b) { return a.oldBlock < b.oldBlock; });
        for (const IndexEntry& e : entries_) {
            uint8_t* entry = batch_.data() + e.offset;
            uint32_t position = moves_.firstPosition[e.oldBlock] + PlaceInOldBlock(e, entry);
            PutIndexShort(entry + hintOffset_, uint16_t(position / moves_.newRecordsPerBlock + 1));
        }
        for (size_t i = 0; i < blocks_.size(); ++i)
            WriteBlock(xOut, xh_, blocks_[i], batch_.data() + i * xh_.BlockSize());
        batch_.clear();
        blocks_.clear();
        entries_.clear();
    }

  private:
    // The entry's record among those of its old block, found by primary key.
    unsigned PlaceInOldBlock(const IndexEntry& e, const uint8_t* entry) {
        const uint8_t* block = table_.Block(e.oldBlock);
        unsigned count = BlockRecordCount(oldTable_, oldHeader_, e.oldBlock, block);
        for (unsigned i = 0; i < count; ++i)
            if (std::memcmp(block + blk::kRecords + size_t(i) * oldHeader_.recordSize,
                            entry + keyOffset_, keySize_) == 0)
                return i;
        OutOfDate(x_, "entry does not match its table record; rebuild the index");
    }

    const File& oldTable_;
    const TableHeader& oldHeader_;
    const RecordMoves& moves_;
    const File& x_;
    const TableHeader& xh_;
    BlockWindow table_;
    unsigned keySize_ = 0, keyOffset_ = 0, hintOffset_ = 0;
    std::vector<uint8_t> batch_;
    std::vector<uint16_t> blocks_;
    std::vector<IndexEntry> entries_;
};

} // namespace

void RemapSecondaryIndex(const File& oldTable, const TableHeader& oldHeader,
                         const RecordMoves& moves, const TableHeader& newTable, const File& x,
                         File& xOut, const File* y, File* yOut) {
    TableHeader xh = ReadHeader(x);
    HintPatcher patcher(oldTable, oldHeader, moves, x, xh);

    // Copy the header and every block (free ones too), then patch the chain's blocks.
    uint64_t size = x.Size();
    std::vector<uint8_t> raw(size_t(std::min<uint64_t>(size, xh.headerSize)));
    x.ReadExact(0, raw.data(), raw.size());
    Put(raw.data(), hdr::kChangeCount1, uint8_t(xh.changeCount1 + 1));
    Put(raw.data(), hdr::kChangeCount2, newTable.changeCount2);
    xOut.WriteAt(0, raw.data(), raw.size());
    std::vector<uint8_t> block(xh.BlockSize());
    for (unsigned b = 1; b <= xh.fileBlocks; ++b) {
        ReadBlock(x, xh, b, block.data());
        WriteBlock(xOut, xh, b, block.data());
    }
    ChainReader chain(x, xh);
    while (chain.Next()) {
        patcher.Add(chain.Block(), chain.Count(), chain.Data());
        if (patcher.Full())
            patcher.PatchAndWrite(xOut);
    }
    patcher.PatchAndWrite(xOut);
    if (!y)
        return;
    uint64_t ySize = y->Size();
    std::vector<uint8_t> tree(static_cast<size_t>(ySize));
    y->ReadExact(0, tree.data(), tree.size());
    if (tree.size() > hdr::kIndexStamp.offset)
        Put(tree.data(), hdr::kIndexStamp, Get(raw.data(), hdr::kChangeCount1));
    yOut->WriteAt(0, tree.data(), tree.size());
}

} // namespace pdx
