#include "table_cursor.h"
#include "bytes.h"
#include "family.h"
#include "primary_index.h"
#include "status.h"
#include "table_data.h"
#include <algorithm>
#include <cstring>

namespace pdx {

TableCursor::TableCursor(const std::string& path, bool readOnly, bool exclusive,
                         const PasswordCheck& hasPassword)
    : path_(path), readOnly_(readOnly), exclusive_(exclusive) {
    RecoverFamily(path);
    file_ = File::Open(path, readOnly ? Access::Read : Access::ReadWrite,
                       exclusive ? Share::Exclusive : Share::Shared, DBIERR_NOSUCHTABLE);
    h_ = ReadHeader(file_);
    if (h_.fileType != ftTable && h_.fileType != ftKeyedTable)
        Fail(DBIERR_NOTSUPPORTED, "Table: " + path + " (not a table file)");
    if (h_.Encrypted() && !hasPassword(h_.checksum))
        Fail(DBIERR_INVALIDPASSWORD, "Table: " + path);
    block_.resize(h_.BlockSize());
    for (unsigned i = 0; i < h_.keyFields; ++i)
        keySize_ += h_.fields[i].StoredSize();
    Rewind();
}

TableCursor::~TableCursor() {
    try {
        Close();
    } catch (const EngineError&) {
        // A cursor closed by shutdown has nobody to report to; DbiCloseCursor reports.
    }
}

void TableCursor::Rewind() {
    started_ = false;
    next_ = h_.firstBlock;
    index_ = count_ = steps_ = 0;
}

bool TableCursor::Next(uint8_t* out) {
    while (index_ >= count_) {
        if (next_ == 0)
            return false;
        if (++steps_ > h_.fileBlocks)
            Fail(DBIERR_FILECORRUPT, "File: " + path_ + " (block chain loops)");
        ReadBlock(file_, h_, next_, block_.data());
        count_ = BlockRecordCount(file_, h_, next_, block_.data());
        block_no_ = next_;
        next_ = Get(block_.data(), blk::kNext);
        index_ = 0;
    }
    std::memcpy(out, block_.data() + blk::kRecords + size_t(index_++) * h_.recordSize,
                h_.recordSize);
    return true;
}

void TableCursor::CheckCanInsert() const {
    if (readOnly_)
        Fail(DBIERR_READONLY, "Table: " + path_);
    if (!exclusive_)
        Fail(DBIERR_NOTSUPPORTED, "Table: " + path_ + " (inserting needs an exclusive open)");
    if (!FindFamily(path_).secondary.empty())
        Fail(DBIERR_NOTSUPPORTED, "Table: " + path_ + " (table has secondary indexes)");
    // The index is rebuilt when the cursor closes: a key it cannot hold fails before the
    // table is written.
    if (h_.keyFields > 0)
        IndexBlockFill(PrimaryIndexHeader(h_, nullptr, ""), path_);
}

void TableCursor::Insert(uint8_t* record) {
    CheckCanInsert();
    AssignAutoIncrement(record);
    if (h_.keyFields == 0)
        InsertUnkeyed(record);
    else
        InsertKeyed(record);
    ++h_.numRecords;
    StoreHeader();
    Rewind();
}

void TableCursor::AssignAutoIncrement(uint8_t* record) {
    for (const auto& f : h_.fields) {
        if (f.type != pxAutoInc)
            continue;
        uint8_t* p = record + f.offset;
        if (AllZero(p, 4)) {
            uint32_t v = ++h_.autoInc;
            p[0] = uint8_t((v >> 24) ^ 0x80);
            p[1] = uint8_t(v >> 16);
            p[2] = uint8_t(v >> 8);
            p[3] = uint8_t(v);
        } else {
            uint32_t v =
                (uint32_t(p[0] ^ 0x80) << 24) | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
            if (int32_t(v) > int32_t(h_.autoInc))
                h_.autoInc = v;
        }
    }
}

void TableCursor::InsertUnkeyed(const uint8_t* record) {
    std::vector<uint8_t> buf(h_.BlockSize(), 0);
    if (h_.lastBlock != 0) {
        ReadBlock(file_, h_, h_.lastBlock, buf.data());
        unsigned count = BlockRecordCount(file_, h_, h_.lastBlock, buf.data());
        if (count < h_.RecordsPerBlock()) {
            std::memcpy(buf.data() + blk::kRecords + size_t(count) * h_.recordSize, record,
                        h_.recordSize);
            Put(buf.data(), blk::kLastRecordOffset, int16_t(count * h_.recordSize));
            WriteBlock(file_, h_, h_.lastBlock, buf.data());
            return;
        }
        Put(buf.data(), blk::kNext, uint16_t(h_.fileBlocks + 1));
        WriteBlock(file_, h_, h_.lastBlock, buf.data());
    }
    if (h_.fileBlocks == 0xFFFF)
        Fail(DBIERR_RECTOOBIG, "Table: " + path_ + " (table is full)");
    unsigned n = ++h_.fileBlocks;
    std::fill(buf.begin(), buf.end(), 0);
    Put(buf.data(), blk::kNext, 0);
    Put(buf.data(), blk::kPrevious, h_.lastBlock);
    Put(buf.data(), blk::kLastRecordOffset, 0);
    std::memcpy(buf.data() + blk::kRecords, record, h_.recordSize);
    WriteBlock(file_, h_, n, buf.data());
    if (h_.firstBlock == 0)
        h_.firstBlock = uint16_t(n);
    h_.lastBlock = uint16_t(n);
    ++h_.usedBlocks;
}

int TableCursor::CompareKeys(const uint8_t* a, const uint8_t* b) const {
    // Stored numbers sort as bytes; alpha keys of non-ASCII sort orders compare without case.
    for (unsigned i = 0; i < h_.keyFields; ++i) {
        const Field& f = h_.fields[i];
        int c;
        if (f.type == pxAlpha && h_.sortOrder != 0)
            c = _strnicmp(reinterpret_cast<const char*>(a + f.offset),
                          reinterpret_cast<const char*>(b + f.offset), f.info);
        else
            c = 0;
        if (c == 0)
            c = std::memcmp(a + f.offset, b + f.offset, f.StoredSize());
        if (c != 0)
            return c;
    }
    return 0;
}

void TableCursor::LoadLeaves() {
    leaves_.emplace();
    ChainReader chain(file_, h_);
    while (chain.Next())
        if (chain.Count() > 0)
            leaves_->push_back({std::vector<uint8_t>(chain.Record(0), chain.Record(0) + keySize_),
                                uint16_t(chain.Block())});
}

size_t TableCursor::LeafFor(const uint8_t* key) const {
    size_t lo = 0, hi = leaves_->size();
    while (hi - lo > 1) {
        size_t mid = (lo + hi) / 2;
        if (CompareKeys((*leaves_)[mid].firstKey.data(), key) <= 0)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

void TableCursor::InsertKeyed(const uint8_t* record) {
    if (!leaves_)
        LoadLeaves();
    indexDirty_ = true;
    if (leaves_->empty()) {
        InsertUnkeyed(record);
        leaves_->push_back({std::vector<uint8_t>(record, record + keySize_), h_.lastBlock});
        return;
    }
    size_t leaf = LeafFor(record);
    unsigned blockNo = (*leaves_)[leaf].block;
    std::vector<uint8_t> buf(h_.BlockSize());
    ReadBlock(file_, h_, blockNo, buf.data());
    unsigned count = BlockRecordCount(file_, h_, blockNo, buf.data());
    auto stored = buf.begin() + blk::kRecords;
    std::vector<uint8_t> records(stored, stored + long(count) * h_.recordSize);
    unsigned at = 0;
    for (; at < count; ++at) {
        int c = CompareKeys(records.data() + size_t(at) * h_.recordSize, record);
        if (c == 0)
            Fail(DBIERR_KEYVIOL, "Table: " + path_);
        if (c > 0)
            break;
    }
    records.insert(records.begin() + long(at) * h_.recordSize, record, record + h_.recordSize);
    ++count;
    unsigned keep = count <= h_.RecordsPerBlock() ? count : count / 2;
    if (keep < count && at == count - 1 && Get(buf.data(), blk::kNext) == 0)
        keep = count - 1; // appending in key order: leave the full block full
    auto fill = [&](std::vector<uint8_t>& b, unsigned first, unsigned n) {
        std::fill(b.begin() + blk::kRecords, b.end(), 0);
        std::memcpy(b.data() + blk::kRecords, records.data() + size_t(first) * h_.recordSize,
                    size_t(n) * h_.recordSize);
        Put(b.data(), blk::kLastRecordOffset, int16_t((int(n) - 1) * h_.recordSize));
    };
    if (keep < count) {
        if (h_.fileBlocks == 0xFFFF)
            Fail(DBIERR_RECTOOBIG, "Table: " + path_ + " (table is full)");
        unsigned fresh = ++h_.fileBlocks;
        ++h_.usedBlocks;
        unsigned after = Get(buf.data(), blk::kNext);
        std::vector<uint8_t> split(h_.BlockSize(), 0);
        fill(split, keep, count - keep);
        Put(split.data(), blk::kNext, uint16_t(after));
        Put(split.data(), blk::kPrevious, uint16_t(blockNo));
        WriteBlock(file_, h_, fresh, split.data());
        Put(buf.data(), blk::kNext, uint16_t(fresh));
        if (after) {
            std::vector<uint8_t> next(h_.BlockSize());
            ReadBlock(file_, h_, after, next.data());
            Put(next.data(), blk::kPrevious, uint16_t(fresh));
            WriteBlock(file_, h_, after, next.data());
        } else {
            h_.lastBlock = uint16_t(fresh);
        }
        leaves_->insert(
            leaves_->begin() + long(leaf) + 1,
            {std::vector<uint8_t>(records.data() + size_t(keep) * h_.recordSize,
                                  records.data() + size_t(keep) * h_.recordSize + keySize_),
             uint16_t(fresh)});
    }
    fill(buf, 0, keep);
    WriteBlock(file_, h_, blockNo, buf.data());
    (*leaves_)[leaf].firstKey.assign(records.begin(), records.begin() + keySize_);
}

void TableCursor::StoreHeader() {
    h_.changeCount2 = uint8_t(h_.changeCount2 + 1);
    std::vector<uint8_t> header = WriteHeader(h_);
    file_.WriteAt(0, header.data(), header.size());
}

void TableCursor::RebuildPrimaryIndex() {
    Family family = FindFamily(path_);
    std::string target = family.primaryIndex.empty() ? StemOf(path_) + ".PX" : family.primaryIndex;
    std::optional<TableHeader> old;
    if (!family.primaryIndex.empty()) {
        File px = File::Open(target, Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
        old = ReadHeader(px);
    }
    LeafEntries entries(keySize_);
    ChainReader chain(file_, h_);
    while (chain.Next())
        if (chain.Count() > 0)
            entries.Add(chain.Block(), chain.Record(0), chain.Count());
    TableHeader px = PrimaryIndexHeader(h_, old ? &*old : nullptr,
                                        target.substr(target.find_last_of("\\/:") + 1));
    {
        File out = File::Create(TemporaryName(target));
        WritePrimaryIndex(out, px, entries);
        out.Flush();
    }
    ReplaceFile(TemporaryName(target), target);
}

void TableCursor::Close() {
    if (!file_.IsOpen())
        return;
    if (indexDirty_) {
        indexDirty_ = false;
        file_.Flush();
        RebuildPrimaryIndex();
    }
    file_.Close();
}

} // namespace pdx
