#include "secondary_index.h"
#include "bytes.h"
#include "primary_index.h"
#include "secondary_layout.h"
#include "status.h"
#include "table_data.h"
#include <algorithm>
#include <cstring>
#include <optional>

namespace pdx {

namespace {

constexpr size_t kBatchBytes = 1024 * 1024; // index blocks patched together

[[noreturn]] void OutOfDate(const File& x, const std::string& what) {
    Fail(DBIERR_INDEXCORRUPT, "File: " + x.Path() + " (" + what + ")");
}

[[noreturn]] void NotUnderstood(const File& x, const std::string& what) {
    Fail(DBIERR_NOTSUPPORTED, "File: " + x.Path() + " (not understood: " + what + ")");
}

// Where an index entry lies in the batch and which table block it names.
struct IndexEntry {
    uint16_t oldBlock;
    size_t offset; // of the entry within the batch
};

// Index blocks in chain order, patched a batch at a time: the batch's entries are visited in
// the order of the table blocks they name, so each old table block is read once per batch and
// in ascending order, whatever the index's order is.
class EntryPatcher {
  public:
    EntryPatcher(const File& oldTable, const TableHeader& oldHeader, const RecordMoves& moves,
                 const TableHeader& newTable, const File& x, const TableHeader& xh,
                 const TableHeader& xOutHeader, const SecondaryLayout& layout)
        : oldTable_(oldTable), oldHeader_(oldHeader), moves_(moves), newTable_(newTable), x_(x),
          xh_(xh), xOutHeader_(xOutHeader), layout_(layout), table_(oldTable, oldHeader) {}

    void Add(unsigned block, unsigned count, const uint8_t* data) {
        size_t at = batch_.size();
        batch_.insert(batch_.end(), data, data + xh_.BlockSize());
        blocks_.push_back(uint16_t(block));
        counts_.push_back(uint16_t(count));
        for (unsigned i = 0; i < count; ++i) {
            size_t offset = at + blk::kRecords + size_t(i) * xh_.recordSize;
            unsigned oldBlock = GetIndexShort(batch_.data() + offset + layout_.blockOffset);
            if (oldBlock == 0 || oldBlock >= moves_.firstPosition.size() ||
                moves_.firstPosition[oldBlock] == ~0u)
                OutOfDate(x_, "entry points at block " + std::to_string(oldBlock));
            entries_.push_back({uint16_t(oldBlock), offset});
        }
    }

    bool Full() const { return batch_.size() >= kBatchBytes; }

    // Writes the patched blocks; the first entry of each goes to `leaves` when given.
    void PatchAndWrite(File& xOut, LeafEntries* leaves) {
        std::stable_sort(
            entries_.begin(), entries_.end(),
            [](const IndexEntry& a, const IndexEntry& b) { return a.oldBlock < b.oldBlock; });
        for (const IndexEntry& e : entries_) {
            uint8_t* entry = batch_.data() + e.offset;
            uint32_t position = moves_.firstPosition[e.oldBlock] + PlaceInOldBlock(e, entry);
            PlaceEntry(layout_, newTable_, entry, position / moves_.newRecordsPerBlock + 1,
                       position % moves_.newRecordsPerBlock);
        }
        for (size_t i = 0; i < blocks_.size(); ++i) {
            uint8_t* block = batch_.data() + i * xh_.BlockSize();
            if (leaves && counts_[i] > 0)
                leaves->Add(blocks_[i], block + blk::kRecords, counts_[i]);
            WriteBlock(xOut, xOutHeader_, blocks_[i], block);
        }
        batch_.clear();
        blocks_.clear();
        counts_.clear();
        entries_.clear();
    }

  private:
    // The entry's record among those of its old block, found by primary key or by place.
    unsigned PlaceInOldBlock(const IndexEntry& e, const uint8_t* entry) {
        const uint8_t* block = table_.Block(e.oldBlock);
        unsigned count = BlockRecordCount(oldTable_, oldHeader_, e.oldBlock, block);
        int slot = EntrySlot(layout_, oldHeader_, entry, block, count);
        const uint8_t* record =
            slot < 0 ? nullptr : block + blk::kRecords + size_t(slot) * oldHeader_.recordSize;
        if (layout_.byPlace && (!record || !SameIndexedValues(layout_, xh_, entry, record)))
            NotUnderstood(x_, "an entry's block and offset name no record with its values");
        if (!record)
            OutOfDate(x_, "entry does not match its table record; rebuild the index");
        return unsigned(slot);
    }

    const File& oldTable_;
    const TableHeader& oldHeader_;
    const RecordMoves& moves_;
    const TableHeader& newTable_;
    const File& x_;
    const TableHeader& xh_;
    const TableHeader& xOutHeader_;
    const SecondaryLayout& layout_;
    BlockWindow table_;
    std::vector<uint8_t> batch_;
    std::vector<uint16_t> blocks_, counts_;
    std::vector<IndexEntry> entries_;
};

void CopyWhole(const File& from, File& to) {
    std::vector<uint8_t> buffer(kBatchBytes);
    const uint64_t size = from.Size();
    for (uint64_t at = 0; at < size; at += buffer.size()) {
        const size_t n = size_t(std::min<uint64_t>(buffer.size(), size - at));
        from.ReadExact(at, buffer.data(), n);
        to.WriteAt(at, buffer.data(), n);
    }
}

// An index that is not maintained and out of date stays so: copied as it is, unless its stamp
// would happen to equal the table's new one.
void CopyOutOfDate(const TableHeader& xh, const File& x, File& xOut, const File* y, File* yOut,
                   const TableHeader& oldTable, const TableHeader& newTable) {
    CopyWhole(x, xOut);
    if (xh.changeCount2 == newTable.changeCount2)
        xOut.WriteAt(hdr::kChangeCount2.offset, &oldTable.changeCount2, 1);
    if (y)
        CopyWhole(*y, *yOut);
}

// The header of an index carried over: its stamps follow the table, and so does its level, as
// every index the original engine writes carries its table's version byte. An index of a 3.x
// table raised past that level gains the data header, its leading fields the IDs of the table
// fields they copy.
TableHeader CarriedHeader(const TableHeader& xh, const TableHeader& newTable,
                          const SecondaryLayout& layout) {
    TableHeader x = xh;
    x.changeCount1 = uint8_t(xh.changeCount1 + 1);
    x.changeCount2 = newTable.changeCount2;
    x.version = newTable.version;
    if (xh.HasDataHeader() || !x.HasDataHeader())
        return x;
    AddDataHeader(x, newTable.codePage, newTable.sortOrderId);
    for (size_t i = 0; i < layout.sources.size(); ++i)
        if (layout.sources[i])
            x.fields[i].id = layout.sources[i]->id;
    x.headerSize = RequiredHeaderSize(x, xh.headerSize);
    return x;
}

// Writes the carried header: where its layout stays, every byte as read but the stamps and the
// level, so that bytes of unknown meaning are kept; where it gains the data header, anew.
void WriteCarriedHeader(const File& x, const TableHeader& xh, const TableHeader& carried,
                        File& xOut) {
    if (carried.HasDataHeader() != xh.HasDataHeader()) {
        const std::vector<uint8_t> header = WriteHeader(carried);
        xOut.WriteAt(0, header.data(), header.size());
        return;
    }
    std::vector<uint8_t> raw(size_t(std::min<uint64_t>(x.Size(), xh.headerSize)));
    x.ReadExact(0, raw.data(), raw.size());
    Put(raw.data(), hdr::kChangeCount1, carried.changeCount1);
    Put(raw.data(), hdr::kChangeCount2, carried.changeCount2);
    Put(raw.data(), hdr::kVersion, carried.version);
    if (carried.HasDataHeader()) {
        Put(raw.data(), hdr::kVersionWord, VersionWord(carried.version));
        Put(raw.data(), hdr::kVersionWordAgain, VersionWord(carried.version));
    }
    xOut.WriteAt(0, raw.data(), raw.size());
}

// An index tree copied whole: its stamp names the index's new state, its version byte the
// table's level (a tree has no data header, and a restructure never changes the length of the
// table name area, which only level 7 files have longer).
void CopyTree(const File& y, File& yOut, const TableHeader& carried) {
    CopyWhole(y, yOut);
    if (y.Size() > hdr::kIndexStamp.offset)
        yOut.WriteAt(hdr::kIndexStamp.offset, &carried.changeCount1, 1);
    if (y.Size() > hdr::kVersion.offset)
        yOut.WriteAt(hdr::kVersion.offset, &carried.version, 1);
}

} // namespace

void CarryOverSecondaryIndex(const File& oldTable, const TableHeader& oldHeader,
                             const RecordMoves& moves, const TableHeader& newTable, const File& x,
                             File& xOut, const File* y, File* yOut) {
    TableHeader xh = ReadHeader(x);
    const bool maintained =
        xh.fileType == ftMaintainedSecondaryIndex || xh.fileType == ftMaintainedCompositeIndex;
    if (!maintained && !IndexIsCurrent(xh, oldHeader)) {
        CopyOutOfDate(xh, x, xOut, y, yOut, oldHeader, newTable);
        return;
    }
    SecondaryLayout layout;
    const std::string unknown = DescribeSecondary(xh, oldHeader, layout);
    if (!unknown.empty())
        NotUnderstood(x, unknown);

    // Copy the header and every block (free ones too), then patch the chain's blocks.
    const TableHeader carried = CarriedHeader(xh, newTable, layout);
    WriteCarriedHeader(x, xh, carried, xOut);
    std::vector<uint8_t> block(xh.BlockSize());
    for (unsigned b = 1; b <= xh.fileBlocks; ++b) {
        ReadBlock(x, xh, b, block.data());
        WriteBlock(xOut, carried, b, block.data());
    }
    // Where entries hold places, so do the keys of the tree: it is rebuilt from the entries.
    std::optional<LeafEntries> leaves;
    if (layout.byPlace && y)
        leaves.emplace(KeySize(xh, xh.keyFields));
    EntryPatcher patcher(oldTable, oldHeader, moves, newTable, x, xh, carried, layout);
    ChainReader chain(x, xh);
    while (chain.Next()) {
        patcher.Add(chain.Block(), chain.Count(), chain.Data());
        if (patcher.Full())
            patcher.PatchAndWrite(xOut, leaves ? &*leaves : nullptr);
    }
    patcher.PatchAndWrite(xOut, leaves ? &*leaves : nullptr);
    if (!y)
        return;
    if (leaves) {
        TableHeader oldTree = ReadHeader(*y);
        TableHeader tree = PrimaryIndexHeader(carried, &oldTree, oldTree.tableName);
        tree.fileType = oldTree.fileType;
        WritePrimaryIndex(*yOut, tree, *leaves);
        return;
    }
    CopyTree(*y, *yOut, carried);
}

} // namespace pdx
