// The table check on an index three levels deep: a clean family passes, and damage at each
// level of the tree is found and named.
#include "bytes.h"
#include "create_table.h"
#include "table_cursor.h"
#include "test_folder.h"
#include "verify_table.h"
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace pdx;

constexpr unsigned kRecords = 350; // 7 records a block: 50 data blocks, 50 leaf entries
constexpr unsigned kKeySize = 255; // 7 index entries a 2 KiB block, 6 written: three levels
constexpr unsigned kEntrySize = kKeySize + 6;

class DeepIndex : public ::testing::Test {
  protected:
    void SetUp() override {
        table_ = folder_.File("deep.DB");
        Build();
    }

    // Writes the table afresh, keyed on a long alpha field, in key order.
    void Build() {
        FLDDesc fields[2] = {};
        std::strcpy(fields[0].szName, "Key");
        fields[0].iFldType = fldZSTRING;
        fields[0].iUnits1 = kKeySize;
        std::strcpy(fields[1].szName, "Value");
        fields[1].iFldType = fldINT16;
        IDXDesc key{};
        key.bPrimary = 1;
        key.iFldsInKey = 1;
        key.aiKeyFld[0] = 1;
        CRTblDesc desc{};
        desc.iFldCount = 2;
        desc.pfldDesc = fields;
        desc.iIdxCount = 1;
        desc.pidxDesc = &key;
        CreateTable(table_, desc, true);
        TableCursor cursor(table_, false, true, NoPassword);
        std::vector<uint8_t> record(cursor.Header().recordSize);
        for (unsigned i = 0; i < kRecords; ++i) {
            std::fill(record.begin(), record.end(), 0);
            std::snprintf(reinterpret_cast<char*>(record.data()), kKeySize, "key %05u", i);
            record[kKeySize] = 0x80; // Value 0
            cursor.Insert(record.data());
        }
        cursor.Close();
    }

    static bool NoPassword(uint32_t) { return false; }

    std::vector<std::string> Problems() {
        std::vector<std::string> problems;
        VerifyTable(table_, NoPassword, [&](Finding kind, const std::string& text) {
            if (kind == Finding::Problem)
                problems.push_back(text);
        });
        return problems;
    }

    // Overwrites bytes of the .PX: within entry `entry` of index block `block`, or in the
    // header when block is 0.
    void Patch(unsigned block, unsigned entry, unsigned at, std::vector<uint8_t> bytes) {
        std::string px = folder_.File("deep.PX");
        File f = File::Open(px, Access::ReadWrite, Share::Exclusive, DBIERR_NOSUCHFILE);
        TableHeader h = ReadHeader(f);
        ASSERT_EQ(h.indexLevels, 3);
        uint64_t offset = block ? h.BlockOffset(block) + 6 + entry * kEntrySize + at : at;
        f.WriteAt(offset, bytes.data(), bytes.size());
    }

    TestFolder folder_;
    std::string table_;
};

TEST_F(DeepIndex, CleanFamilyHasNoProblems) {
    EXPECT_EQ(Problems(), std::vector<std::string>{});
}

TEST_F(DeepIndex, DamageAtEachLevelIsFound) {
    struct Case {
        const char* what;
        unsigned block, entry, at;
        std::vector<uint8_t> bytes;
        const char* finding;
    };
    // The root is block 1, the middle level blocks 2-3, the leaves from block 4 on.
    const Case cases[] = {
        {"root count", 1, 0, kKeySize + 2, {0x80, 0x01}, "deep.PX: block 1 entry 1 counts 1 "},
        {"root key", 1, 1, 4, {'X'}, "deep.PX: block 1 entry 2 does not carry the first key"},
        {"root target", 1, 0, kKeySize, {0x80, 0x63}, "deep.PX: the tree leads to block 99"},
        {"leaf block", 4, 2, kKeySize, {0x80, 0x09}, "deep.PX: leaf entry 3 names block 9"},
        {"header count", 0, 0, 0x06, {0x01}, "deep.PX: header counts 1 entries"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Build();
        Patch(c.block, c.entry, c.at, c.bytes);
        std::vector<std::string> problems = Problems();
        ASSERT_FALSE(problems.empty());
        EXPECT_EQ(problems.front().rfind(c.finding, 0), 0u) << problems.front();
    }
}

} // namespace
