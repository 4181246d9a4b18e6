#include "bytes.h"
#include "table_data.h"
#include "verify_parts.h"
#include <algorithm>
#include <cstring>

namespace pdx {

namespace {

// Walks an index tree from its root, checking every level against the one below it.
class TreeWalk {
  public:
    TreeWalk(const File& index, const TableHeader& ih, unsigned keySize, Findings& findings,
             Finding kind)
        : index_(index), ih_(ih), keySize_(keySize), findings_(findings), kind_(kind),
          name_(BaseName(index.Path())), visited_(size_t(ih.fileBlocks) + 1, false) {}

    // The leaf entries in order; false when the tree cannot be followed to its end.
    bool Leaves(std::vector<ChainBlock>& leaves) {
        unsigned sum = 0;
        std::vector<uint8_t> firstKey;
        if (!Descend(ih_.indexRoot, ih_.indexLevels, sum, firstKey, leaves))
            return false;
        if (entries_ != ih_.numRecords)
            Report("header counts " + std::to_string(ih_.numRecords) + " entries, the tree holds " +
                   std::to_string(entries_));
        return true;
    }

  private:
    void Report(const std::string& text) { findings_.Report(kind_, name_, text); }

    bool Descend(unsigned block, unsigned level, unsigned& sum, std::vector<uint8_t>& firstKey,
                 std::vector<ChainBlock>& leaves) {
        const std::string where = "block " + std::to_string(block);
        if (block == 0 || block > ih_.fileBlocks) {
            Report("the tree leads to " + where + ", the file has " +
                   std::to_string(ih_.fileBlocks));
            return false;
        }
        if (visited_[block]) {
            Report("the tree reaches " + where + " twice");
            return false;
        }
        visited_[block] = true;
        std::vector<uint8_t> buf(ih_.BlockSize());
        try {
            ReadBlock(index_, ih_, block, buf.data());
        } catch (const EngineError& err) {
            Report(WhatOf(err));
            return false;
        }
        int size = Get(buf.data(), blk::kLastRecordOffset) + ih_.recordSize;
        if (size <= 0 || size % ih_.recordSize != 0 ||
            unsigned(size / ih_.recordSize) > ih_.RecordsPerBlock()) {
            Report(where + " claims " + std::to_string(size) + " bytes of entries");
            return false;
        }
        const unsigned count = unsigned(size / ih_.recordSize);
        entries_ += count;
        sum = 0;
        for (unsigned i = 0; i < count; ++i) {
            const uint8_t* e = buf.data() + blk::kRecords + size_t(i) * ih_.recordSize;
            const unsigned target = GetIndexShort(e + keySize_);
            const unsigned records = GetIndexShort(e + keySize_ + 2);
            if (i == 0)
                firstKey.assign(e, e + keySize_);
            if (level <= 1) {
                leaves.push_back({target, records, {e, e + keySize_}});
                sum += records;
                continue;
            }
            unsigned below = 0;
            std::vector<uint8_t> belowKey;
            if (!Descend(target, level - 1, below, belowKey, leaves))
                return false;
            const std::string entry = where + " entry " + std::to_string(i + 1);
            if (std::min(below, 0xFFFFu) != records)
                Report(entry + " counts " + std::to_string(records) + " records, block " +
                       std::to_string(target) + " below it " + std::to_string(below));
            if (std::memcmp(belowKey.data(), e, keySize_) != 0)
                Report(entry + " does not carry the first key of block " + std::to_string(target));
            sum += below;
        }
        return true;
    }

    const File& index_;
    const TableHeader& ih_;
    unsigned keySize_;
    Findings& findings_;
    Finding kind_;
    std::string name_;
    std::vector<bool> visited_;
    uint64_t entries_ = 0;
};

} // namespace

void CheckIndexTree(const File& index, const TableHeader& ih, const ChainWalk& indexed,
                    unsigned keySize, Findings& findings, Finding kind) {
    const std::string name = BaseName(index.Path());
    if (ih.indexLevels == 0) {
        if (!indexed.blocks.empty() || ih.numRecords != 0)
            findings.Report(kind, name,
                            "the index is empty, the indexed file has " +
                                std::to_string(indexed.blocks.size()) + " blocks");
        return;
    }
    std::vector<ChainBlock> leaves;
    if (!TreeWalk(index, ih, keySize, findings, kind).Leaves(leaves))
        return;
    if (!indexed.complete) {
        findings.Note(name, "entries not compared: the indexed file's block chain is broken");
        return;
    }
    const auto& blocks = indexed.blocks;
    if (leaves.size() != blocks.size())
        findings.Report(kind, name,
                        std::to_string(leaves.size()) + " leaf entries for " +
                            std::to_string(blocks.size()) + " data blocks");
    for (size_t i = 0; i < std::min(leaves.size(), blocks.size()); ++i) {
        const ChainBlock& leaf = leaves[i];
        const ChainBlock& data = blocks[i];
        const std::string entry = "leaf entry " + std::to_string(i + 1);
        if (leaf.block != data.block || leaf.count != data.count)
            findings.Report(kind, name,
                            entry + " names block " + std::to_string(leaf.block) + " with " +
                                std::to_string(leaf.count) +
                                " records; at that place the chain has block " +
                                std::to_string(data.block) + " with " + std::to_string(data.count));
        else if (leaf.firstKey != data.firstKey)
            findings.Report(kind, name,
                            entry + " does not carry the key of the first record of block " +
                                std::to_string(data.block));
    }
}

} // namespace pdx
