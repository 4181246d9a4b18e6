// The oldest layout: a compact 3.0 header (exactly as long as its content, data right behind
// it) with a last block cut short, read and restructured.
#include "append_field.h"
#include "bytes.h"
#include "family_files.h"
#include "restructure.h"
#include "samples.h"
#include "table_data.h"
#include "test_folder.h"
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace pdx;

constexpr size_t kCompactSize = 0xBC; // 3.5 sample's content, names and trailing bytes included

std::vector<uint8_t> SampleBytes(const char* path) {
    std::ifstream in(SamplePath(path), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// date35.db rewritten as a 3.0 table at path: version 3, compact header, one 2 KiB block of
// which only the first KiB is in the file.
void MakeCompactTable(const std::string& path) {
    std::vector<uint8_t> sample = SampleBytes("fields\\date35.db");
    std::vector<uint8_t> table(kCompactSize + 1024);
    std::memcpy(table.data(), sample.data(), kCompactSize);
    std::memcpy(table.data() + kCompactSize, sample.data() + 0x800, 1024);
    table[0x39] = 3;
    Put16(&table[0x02], uint16_t(kCompactSize));
    Put16(&table[0x51], 0);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(table.data()), std::streamsize(table.size()));
}

// Appends with a request that names no operations: the fields past the table's are added.
void Append(const std::string& path, const char* name, uint16_t type, int16_t units) {
    AppendFieldRequest request = AppendRequest(path, name, type, units);
    CRTblDesc* desc = request.Desc();
    desc->pecrFldOp = nullptr;
    RestructureTable(path, *desc, [](uint32_t) { return false; });
}

TEST(TableVersions, CompactHeaderAndShortLastBlockReadAndRestructure) {
    SKIP_WITHOUT_SAMPLES("a 3.0 table with a compact header, made from fields\\date35.db");
    TestFolder folder;
    const std::string path = folder.File("compact.db");
    MakeCompactTable(path);
    TableHeader h;
    std::vector<std::vector<uint8_t>> before = Records(path, h);
    ASSERT_EQ(before.size(), 3u);
    EXPECT_TRUE(h.compact);
    EXPECT_EQ(h.fields[0].name, "DATE");
    EXPECT_EQ(before[0], (std::vector<uint8_t>{0x80, 0x0B, 0x3D, 0xB7})); // 2018-01-01

    Append(path, "Mail_State", fldZSTRING,
           2); // a 3.0 type: the level stays, the header stays compact
    std::vector<std::vector<uint8_t>> after = Records(path, h);
    EXPECT_EQ(h.version, 3);
    EXPECT_TRUE(h.compact);
    EXPECT_EQ(h.headerSize, kCompactSize + 2 + 4 + std::strlen("Mail_State") + 1);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i], (std::vector<uint8_t>{before[i][0], before[i][1], before[i][2],
                                                  before[i][3], 0, 0}));

    Append(path, "EIN", fldINT32, 0); // needs level 5: the header gains the data part
    after = Records(path, h);
    EXPECT_EQ(h.version, kVersion5);
    EXPECT_FALSE(h.compact);
    EXPECT_EQ(h.headerSize, 0x800);
    EXPECT_EQ(h.codePage, 437);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[2].size(), 10u);
}

} // namespace
