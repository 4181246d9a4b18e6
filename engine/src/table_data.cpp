#include "table_data.h"
#include "bytes.h"
#include "paradox_crypt.h"
#include "status.h"
#include <algorithm>
#include <cstring>

namespace pdx {

namespace {

constexpr size_t kIoBytes = 1024 * 1024; // read-ahead and write-behind window

[[noreturn]] void Broken(const File& file, const std::string& what) {
    Fail(DBIERR_FILECORRUPT, "File: " + file.Path() + " (" + what + ")");
}

BlockHeader DecodeBlockHeader(const uint8_t* p) {
    return {Get(p, blk::kNext), Get(p, blk::kPrevious), Get(p, blk::kLastRecordOffset)};
}

} // namespace

unsigned BlockRecordCount(const File& file, const TableHeader& h, unsigned block,
                          const uint8_t* data) {
    int size = Get(data, blk::kLastRecordOffset) + h.recordSize;
    if (size < 0 || size % h.recordSize != 0 || unsigned(size / h.recordSize) > h.RecordsPerBlock())
        Broken(file, "block " + std::to_string(block) + " claims " + std::to_string(size) +
                         " bytes of records");
    return unsigned(size / h.recordSize);
}

void ReadBlock(const File& file, const TableHeader& h, unsigned n, uint8_t* buf) {
    if (n == 0 || n > h.fileBlocks)
        Broken(file, "block " + std::to_string(n) + " does not exist");
    if (file.ReadAt(h.BlockOffset(n), buf, h.BlockSize()) == 0)
        Broken(file, "block " + std::to_string(n) + " is missing");
    if (h.Encrypted())
        DecryptDataBlock(buf, h.BlockSize(), CipherKey(h), n);
}

void WriteBlock(File& file, const TableHeader& h, unsigned n, uint8_t* buf) {
    if (h.Encrypted())
        EncryptDataBlock(buf, h.BlockSize(), CipherKey(h), n);
    file.WriteAt(h.BlockOffset(n), buf, h.BlockSize());
}

const uint8_t* BlockWindow::Block(unsigned n) {
    if (n < first_ || n >= first_ + count_) {
        if (n == 0 || n > h_.fileBlocks)
            Broken(file_, "block " + std::to_string(n) + " does not exist");
        unsigned size = h_.BlockSize();
        unsigned count = std::max<unsigned>(1, unsigned(kIoBytes / size));
        count = std::min<unsigned>(count, h_.fileBlocks - n + 1);
        cache_.resize(size_t(count) * size);
        if (file_.ReadAt(h_.BlockOffset(n), cache_.data(), cache_.size()) == 0)
            Broken(file_, "block " + std::to_string(n) + " is missing");
        if (h_.Encrypted())
            for (unsigned i = 0; i < count; ++i)
                DecryptDataBlock(cache_.data() + size_t(i) * size, size, CipherKey(h_), n + i);
        first_ = n;
        count_ = count;
    }
    return cache_.data() + size_t(n - first_) * h_.BlockSize();
}

ChainReader::ChainReader(const File& file, const TableHeader& h)
    : file_(file), h_(h), window_(file, h), nextBlock_(h.firstBlock) {}

bool ChainReader::Next() {
    if (nextBlock_ == 0)
        return false;
    if (nextBlock_ > h_.fileBlocks)
        Broken(file_, "chain leads to block " + std::to_string(nextBlock_) + " of " +
                          std::to_string(h_.fileBlocks));
    if (++steps_ > h_.fileBlocks)
        Broken(file_, "block chain loops");
    Load(nextBlock_);
    return true;
}

void ChainReader::Load(unsigned block) {
    current_ = window_.Block(block);
    BlockHeader bh = DecodeBlockHeader(current_);
    block_ = block;
    count_ = BlockRecordCount(file_, h_, block, current_);
    seen_ += count_;
    nextBlock_ = bh.next;
}

const uint8_t* ChainReader::Record(unsigned i) const {
    return current_ + blk::kRecords + size_t(i) * h_.recordSize;
}

BlockWriter::BlockWriter(File& file, const TableHeader& h, BlockDone onBlock)
    : file_(file), h_(h), onBlock_(std::move(onBlock)),
      windowBlocks_(std::max<unsigned>(1, unsigned(kIoBytes / h.BlockSize()))),
      perBlock_(h.RecordsPerBlock()) {
    window_.resize(size_t(windowBlocks_) * h.BlockSize());
}

uint8_t* BlockWriter::NextSlot() {
    if (inBlock_ == perBlock_) {
        Seal(false);
        ++blockNo_;
        if (++current_ == windowBlocks_)
            FlushWindow();
    }
    ++records_;
    return Current() + blk::kRecords + size_t(inBlock_++) * h_.recordSize;
}

void BlockWriter::Append(const uint8_t* record) {
    std::memcpy(NextSlot(), record, h_.recordSize);
}

void BlockWriter::Seal(bool last) {
    uint8_t* b = Current();
    Put(b, blk::kNext, last ? 0 : uint16_t(blockNo_ + 1));
    Put(b, blk::kPrevious, uint16_t(blockNo_ - 1));
    Put(b, blk::kLastRecordOffset, int16_t((int(inBlock_) - 1) * h_.recordSize));
    size_t used = blk::kRecords + size_t(inBlock_) * h_.recordSize;
    std::memset(b + used, 0, h_.BlockSize() - used);
    if (onBlock_)
        onBlock_(blockNo_, b + blk::kRecords, inBlock_);
    if (h_.Encrypted())
        EncryptDataBlock(b, h_.BlockSize(), CipherKey(h_), blockNo_);
    inBlock_ = 0;
}

void BlockWriter::FlushWindow() {
    if (current_ > 0)
        file_.WriteAt(h_.BlockOffset(windowFirst_), window_.data(),
                      size_t(current_) * h_.BlockSize());
    windowFirst_ += current_;
    current_ = 0;
}

void BlockWriter::Finish(TableHeader& h) {
    unsigned blocks = 0;
    if (records_ > 0) {
        if (blockNo_ > 0xFFFF)
            Fail(DBIERR_RECTOOBIG, "File: " + file_.Path() + " (more than 65535 blocks)");
        Seal(true);
        ++current_;
        blocks = blockNo_;
    }
    FlushWindow();
    h.numRecords = uint32_t(records_);
    h.usedBlocks = h.fileBlocks = h.lastBlock = uint16_t(blocks);
    h.firstBlock = blocks ? 1 : 0;
    h.firstFreeBlock = 0;
}

} // namespace pdx
