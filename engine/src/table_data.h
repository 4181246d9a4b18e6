// Block access to an open data or index file: decryption, chain walking with validation,
// and the sequential writer that lays out a new file block by block.
#pragma once
#include "table_header.h"
#include <functional>
#include <vector>

namespace pdx {

struct BlockHeader {
    uint16_t next;
    uint16_t prev;
    int16_t addDataSize;
};

// The cipher key of an encrypted file: the low half of its check value.
inline uint32_t CipherKey(const TableHeader& h) {
    return h.checksum & 0xFFFF;
}

// Records in a block read from file, from its header; a count the block cannot hold fails as a
// damaged file.
unsigned BlockRecordCount(const File& file, const TableHeader& h, unsigned block,
                          const uint8_t* data);

// Reads block n (1-based), decrypted; bytes missing at the end of the file read as zeros.
void ReadBlock(const File& file, const TableHeader& h, unsigned n, uint8_t* buf);
void WriteBlock(File& file, const TableHeader& h, unsigned n, uint8_t* buf); // encrypts buf

// Blocks read a window (about 1 MiB) at a time, from the block asked for onwards, decrypted:
// cheap for callers that ask for blocks in ascending order.
class BlockWindow {
  public:
    BlockWindow(const File& file, const TableHeader& h) : file_(file), h_(h) {}
    // Block n (1..fileBlocks), valid until the next call.
    const uint8_t* Block(unsigned n);

  private:
    const File& file_;
    const TableHeader& h_;
    std::vector<uint8_t> cache_;
    unsigned first_ = 0, count_ = 0;
};

// Walks the block chain in order, reading ahead over physically consecutive blocks.
class ChainReader {
  public:
    ChainReader(const File& file, const TableHeader& h);
    // Moves to the next block of the chain; false at the end.
    bool Next();
    unsigned Block() const { return block_; }
    unsigned Count() const { return count_; }
    const uint8_t* Record(unsigned i) const;
    const uint8_t* Data() const { return current_; }
    uint64_t RecordsSeen() const { return seen_; }

  private:
    void Load(unsigned block);

    const File& file_;
    const TableHeader& h_;
    BlockWindow window_;
    const uint8_t* current_ = nullptr;
    unsigned block_ = 0, nextBlock_ = 0, count_ = 0, steps_ = 0;
    uint64_t seen_ = 0;
};

// Writes a new file: header space first, then full blocks 1..n in chain order.
class BlockWriter {
  public:
    using BlockDone = std::function<void(unsigned block, const uint8_t* records, unsigned count)>;
    BlockWriter(File& file, const TableHeader& h, BlockDone onBlock = {});
    // Room for the next record, recordSize bytes, inside the output window: callers build the
    // record in place, which spares a copy per record.
    uint8_t* NextSlot();
    void Append(const uint8_t* record);
    // Writes the last block and sets the block counters of h.
    void Finish(TableHeader& h);

  private:
    uint8_t* Current() { return window_.data() + size_t(current_) * h_.BlockSize(); }
    void Seal(bool last);
    void FlushWindow();

    File& file_;
    const TableHeader& h_;
    BlockDone onBlock_;
    std::vector<uint8_t> window_; // whole blocks, written together
    unsigned windowBlocks_, current_ = 0, windowFirst_ = 1;
    unsigned perBlock_, inBlock_ = 0, blockNo_ = 1;
    uint64_t records_ = 0;
};

} // namespace pdx
