// The primary index builder: levels stack until one root block holds them, the root sits in
// block 1, and every upper entry carries the first key and the record count below it.
#include "bytes.h"
#include "primary_index.h"
#include "table_data.h"
#include "test_folder.h"
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace pdx;

struct Entry {
    std::vector<uint8_t> key;
    unsigned block, count;
};

std::vector<Entry> ReadIndexBlock(const File& f, const TableHeader& h, unsigned block,
                                  unsigned keySize) {
    std::vector<uint8_t> buf(h.BlockSize());
    ReadBlock(f, h, block, buf.data());
    unsigned n = unsigned(int16_t(Get16(buf.data() + 4)) + h.recordSize) / h.recordSize;
    std::vector<Entry> entries;
    for (unsigned i = 0; i < n; ++i) {
        const uint8_t* r = buf.data() + 6 + i * h.recordSize;
        entries.push_back({std::vector<uint8_t>(r, r + keySize), GetIndexShort(r + keySize),
                           GetIndexShort(r + keySize + 2)});
    }
    return entries;
}

// Walks down from an entry to the leaves, checking keys and counts; returns the leaves seen.
void Descend(const File& f, const TableHeader& h, const Entry& e, unsigned level, unsigned keySize,
             std::vector<Entry>& leaves) {
    if (level == 0) {
        leaves.push_back(e);
        return;
    }
    std::vector<Entry> below = ReadIndexBlock(f, h, e.block, keySize);
    ASSERT_FALSE(below.empty());
    EXPECT_EQ(below.front().key, e.key);
    unsigned sum = 0;
    for (const auto& b : below) {
        sum += b.count;
        Descend(f, h, b, level - 1, keySize, leaves);
    }
    EXPECT_EQ(sum, e.count);
}

TEST(PrimaryIndex, DeepIndexKeepsEveryLeafReachableFromTheRootInBlockOne) {
    // A 255-byte key in 1 KiB index blocks fits three entries a block: many levels quickly.
    TableHeader table;
    table.version = 12;
    table.fileType = ftKeyedTable;
    table.keyFields = 1;
    table.fields = {Field{pxAlpha, 255, "Key", 1, 0}, Field{pxLong, 4, "Value", 2, 0}};
    LayOutFields(table);
    TableHeader old;
    old.blockKiB = 1;
    old.headerSize = 0x800;
    old.fileType = ftPrimaryIndex;
    old.version = 12;
    TableHeader index = PrimaryIndexHeader(table, &old, "deep.PX");
    ASSERT_EQ(index.BlockSize(), 1024u);

    LeafEntries leaves(255);
    std::vector<Entry> expected;
    for (unsigned b = 1; b <= 40; ++b) {
        std::vector<uint8_t> key(255, 0);
        std::string text = "key " + std::string(1, char('A' + b / 26)) + char('a' + b % 26);
        std::copy(text.begin(), text.end(), key.begin());
        leaves.Add(b, key.data(), b % 7 + 1);
        expected.push_back({key, b, b % 7 + 1});
    }
    TestFolder folder;
    std::string path = folder.File("deep.PX");
    {
        File out = File::Create(path);
        WritePrimaryIndex(out, index, leaves);
    }
    File in = File::Open(path, Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
    TableHeader h = ReadHeader(in);
    EXPECT_EQ(h.indexRoot, 1);
    EXPECT_EQ(h.indexLevels, 6); // 40 leaves, two a block: 20, 10, 5, 3, 2, 1 blocks
    EXPECT_EQ(h.firstBlock, 1);
    EXPECT_EQ(h.lastBlock, h.fileBlocks);
    EXPECT_EQ(h.numRecords, 40u + 20 + 10 + 5 + 3 + 2);

    std::vector<Entry> root = ReadIndexBlock(in, h, h.indexRoot, 255), seen;
    for (const auto& e : root)
        Descend(in, h, e, h.indexLevels - 1u, 255, seen);
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].key, expected[i].key);
        EXPECT_EQ(seen[i].block, expected[i].block);
        EXPECT_EQ(seen[i].count, expected[i].count);
    }
    // The chain runs through every block in physical order.
    ChainReader chain(in, h);
    unsigned next = 1;
    while (chain.Next())
        EXPECT_EQ(chain.Block(), next++);
    EXPECT_EQ(next - 1, h.fileBlocks);
}

} // namespace
