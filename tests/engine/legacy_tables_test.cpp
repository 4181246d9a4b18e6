// Families the original engine wrote in layouts of its own (PARADOX_LEGACY_SAMPLES): 3.0 tables
// with validity files of their era, an unkeyed table with a secondary index, an index stamp one
// above the table's. Each verifies clean, takes three appended fields, and verifies clean again
// with every old value kept; and the cases around them: unkeyed indexes with records, damage
// and what the engine does not understand in those layouts.
#include "add_index.h"
#include "append_field.h"
#include "bytes.h"
#include "create_table.h"
#include "family_files.h"
#include "record_codec.h"
#include "samples.h"
#include "status.h"
#include "table_cursor.h"
#include "table_data.h"
#include "tables/column_desc.h"
#include "test_folder.h"
#include "verify_table.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace pdx;

std::string CopyLegacy(const TestFolder& folder, const std::vector<std::string>& files) {
    for (const auto& f : files)
        EXPECT_TRUE(CopyWritable(LegacyFolder() + "\\" + f, folder.File(f))) << f;
    return folder.File(files[0]);
}

void Patch(const std::string& path, size_t at, const std::string& bytes) {
    File f = File::Open(path, Access::ReadWrite, Share::Exclusive, DBIERR_NOSUCHFILE);
    f.WriteAt(at, bytes.data(), bytes.size());
}

struct LegacyFamily {
    std::vector<std::string> files; // the table first
};

class LegacyTables : public testing::TestWithParam<LegacyFamily> {};

TEST_P(LegacyTables, VerifyCleanTakeThreeFieldsAndKeepEveryValue) {
    SKIP_WITHOUT_LEGACY("the legacy families verified and restructured");
    const auto& files = GetParam().files;
    TestFolder folder;
    const std::string table = CopyLegacy(folder, files);
    Verdict before = Verify(table);
    EXPECT_EQ(before.problems + before.notUnderstood, 0u) << before.lines;
    TableHeader h;
    const auto old = Records(table, h);
    const uint8_t level = h.version;

    struct Added {
        const char* name;
        uint16_t type;
        int16_t units;
    };
    for (Added f : {Added{"NEWA", fldZSTRING, 12}, {"NEWS", fldINT16, 0}, {"NEWI", fldINT32, 0}}) {
        AppendField(table, f.name, f.type, f.units);
        Verdict after = Verify(table);
        EXPECT_EQ(after.problems + after.notUnderstood, 0u) << f.name << "\n" << after.lines;
        // Only the long integer needs a level: 5 (fileVersionID 11).
        EXPECT_EQ(HeaderOf(table).version,
                  f.type == fldINT32 ? std::max<uint8_t>(level, 11) : level)
            << f.name;
    }
    const auto now = Records(table, h);
    ASSERT_EQ(now.size(), old.size());
    for (size_t r = 0; r < old.size(); ++r) {
        EXPECT_TRUE(std::equal(old[r].begin(), old[r].end(), now[r].begin())) << "record " << r;
        EXPECT_TRUE(AllZero(now[r].data() + old[r].size(), now[r].size() - old[r].size()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Families, LegacyTables,
    testing::Values(LegacyFamily{{"EMPLOYEE.DB", "EMPLOYEE.PX", "EMPLOYEE.VAL"}},
                    LegacyFamily{{"PAYMENT.DB", "PAYMENT.PX", "PAYMENT.VAL"}},
                    LegacyFamily{{"indexed.db", "indexed.xg0", "indexed.yg0"}},
                    LegacyFamily{{"fk4.db", "fk4.px", "fk4.val", "fk4.XG0", "fk4.YG0"}}),
    [](const testing::TestParamInfo<LegacyFamily>& info) {
        const std::string& t = info.param.files[0];
        return t.substr(0, t.find('.'));
    });

// A validity file of the 3.x era keeps every byte but its stamp: its checks name fields by
// position, which appended fields leave as they were.
TEST(LegacyValidity, KeepsItsBytesAndTakesTheStamp) {
    SKIP_WITHOUT_LEGACY("the validity file of EMPLOYEE.DB carried over");
    TestFolder folder;
    const std::string table = CopyLegacy(folder, {"EMPLOYEE.DB", "EMPLOYEE.PX", "EMPLOYEE.VAL"});
    const std::vector<uint8_t> before = Contents(folder.File("EMPLOYEE.VAL"));
    AppendField(table, "EIN", fldINT32);
    const std::vector<uint8_t> after = Contents(folder.File("EMPLOYEE.VAL"));
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0], HeaderOf(table).changeCount2);
    EXPECT_TRUE(std::equal(before.begin() + 1, before.end(), after.begin() + 1));
}

// Damage to a 3.x-era validity file is a problem; a file that fits neither layout is not
// understood, and a restructure refuses it without touching the family.
TEST(LegacyValidity, DamageAndWhatIsNotUnderstood) {
    SKIP_WITHOUT_LEGACY("findings on planted changes to EMPLOYEE.VAL");
    struct Case {
        const char* what;
        size_t at;
        std::string bytes;
        bool truncate;
        unsigned problems, notUnderstood;
    } cases[] = {
        {"stamp of another state", 0, "\x01", false, 1, 0},
        {"check of a fourth field", 0x35, "\x03", false, 0, 1},
        {"last byte missing", 0, "", true, 0, 1},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        const std::string table =
            CopyLegacy(folder, {"EMPLOYEE.DB", "EMPLOYEE.PX", "EMPLOYEE.VAL"});
        const std::string val = folder.File("EMPLOYEE.VAL");
        if (c.truncate) {
            std::vector<uint8_t> bytes = Contents(val);
            File f = File::Create(val + ".cut");
            f.WriteAt(0, bytes.data(), bytes.size() - 1);
            f.Close();
            ASSERT_TRUE(
                MoveFileExA((val + ".cut").c_str(), val.c_str(), MOVEFILE_REPLACE_EXISTING));
        }
        if (!c.bytes.empty())
            Patch(val, c.at, c.bytes);
        Verdict v = Verify(table);
        EXPECT_EQ(v.problems, c.problems) << c.what << "\n" << v.lines;
        EXPECT_EQ(v.notUnderstood, c.notUnderstood) << c.what << "\n" << v.lines;
        if (c.notUnderstood == 0)
            continue;
        const std::vector<uint8_t> db = Contents(table);
        try {
            AppendField(table, "EIN", fldINT32);
            ADD_FAILURE() << c.what << ": restructured";
        } catch (const EngineError& err) {
            EXPECT_EQ(err.code, DBIERR_NOTSUPPORTED) << c.what << ": " << err.context;
        }
        EXPECT_TRUE(Contents(table) == db) << c.what;
    }
}

// The original engine leaves an index one above the table's stamp where a restructure added the
// index beside a table it did not rewrite (fk4): a note. Other differences stay problems.
TEST(LegacyStamps, OnlyTheOriginalEnginesDifferenceIsANote) {
    SKIP_WITHOUT_LEGACY("the stamps of fk4.XG0");
    struct Case {
        const char* what;
        size_t at;
        std::string bytes;
        unsigned problems;
    } cases[] = {
        {"as the original engine left it", 0, "", 0},
        {"two above the table's", 0x2E, "\x86", 1},
        {"not written by a restructure", 0x94, std::string("fk4.XG0\0", 8), 1},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        const std::string table =
            CopyLegacy(folder, {"fk4.db", "fk4.px", "fk4.val", "fk4.XG0", "fk4.YG0"});
        if (!c.bytes.empty())
            Patch(folder.File("fk4.XG0"), c.at, c.bytes);
        Verdict v = Verify(table);
        EXPECT_EQ(v.problems, c.problems) << c.what << "\n" << v.lines;
        EXPECT_NE(v.lines.find("fk4.XG0: stamp 13"), std::string::npos) << c.what << "\n"
                                                                        << v.lines;
    }
}

// ---- unkeyed tables with secondary indexes of their own making

constexpr unsigned kRows = 200;

// An unkeyed table of kRows records (Name A20 in reverse order of insertion, Qty I) with an
// index on Name that is not maintained.
std::string UnkeyedIndexedTable(const TestFolder& folder) {
    const std::string table = folder.File("STOCK.DB");
    FLDDesc fields[] = {ColumnDesc("Name", fldZSTRING, 20), ColumnDesc("Qty", fldINT32, 0)};
    CRTblDesc desc{};
    std::strcpy(desc.szTblName, "STOCK.DB");
    desc.iFldCount = 2;
    desc.pfldDesc = fields;
    CreateTable(table, desc, false);
    {
        TableCursor cursor(table, false, true, NoPassword);
        const TableHeader& h = cursor.Header();
        std::vector<uint8_t> record(h.recordSize);
        for (unsigned i = 0; i < kRows; ++i) {
            char name[21];
            std::snprintf(name, sizeof name, "item %03u", kRows - i);
            const int32_t qty = int32_t(i);
            EncodeField(h.fields[0], name, record.data() + h.fields[0].offset);
            EncodeField(h.fields[1], &qty, record.data() + h.fields[1].offset);
            cursor.Insert(record.data());
        }
        cursor.Close();
    }
    IDXDesc index{};
    index.iFldsInKey = 1;
    index.aiKeyFld[0] = 1;
    AddSecondaryIndex(table, index, NoPassword);
    return table;
}

TEST(UnkeyedIndex, EntriesFollowTheirRecordsAcrossARestructure) {
    TestFolder folder;
    const std::string table = UnkeyedIndexedTable(folder);
    ASSERT_EQ(HeaderOf(folder.File("STOCK.X01")).fileType, ftSecondaryIndex);
    Verdict made = Verify(table);
    EXPECT_EQ(made.problems + made.notUnderstood, 0u) << made.lines;

    AppendField(table, "Note", fldZSTRING, 120); // 24 → 144 bytes a record: every record moves
    Verdict moved = Verify(table);
    EXPECT_EQ(moved.problems + moved.notUnderstood, 0u) << moved.lines;
    TableHeader h;
    const auto records = Records(table, h);
    const TableHeader x = HeaderOf(folder.File("STOCK.X01"));
    EXPECT_EQ(x.changeCount2, h.changeCount2);

    // Each entry: the name, the record's number (from 1, chain order), its block and offset.
    File xFile =
        File::Open(folder.File("STOCK.X01"), Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
    ChainReader entries(xFile, x);
    unsigned seen = 0;
    while (entries.Next())
        for (unsigned i = 0; i < entries.Count(); ++i, ++seen) {
            const uint8_t* e = entries.Record(i);
            int32_t number = 0;
            DecodeField(x.fields[1], e + x.fields[1].offset, &number);
            ASSERT_GE(number, 1);
            ASSERT_LE(number, int32_t(kRows));
            const unsigned position = unsigned(number) - 1;
            EXPECT_EQ(std::memcmp(e, records[position].data(), 20), 0) << "entry " << seen;
            EXPECT_EQ(GetIndexShort(e + x.fields[2].offset), position / h.RecordsPerBlock() + 1);
            EXPECT_EQ(GetIndexShort(e + x.fields[3].offset),
                      position % h.RecordsPerBlock() * h.recordSize);
        }
    EXPECT_EQ(seen, kRows);
}

// An index that is not maintained and is out of date stays so, untouched: the original engine
// rebuilds it when it is used. Its stamp never comes to equal the table's new one.
TEST(UnkeyedIndex, OutOfDateIndexIsCarriedOverAsItIs) {
    struct Case {
        const char* what;
        int stampAboveTable;
        int stampAfterAboveOldTable;
    } cases[] = {{"five above", 5, 5}, {"one above, the table's next", 1, 0}};
    for (const Case& c : cases) {
        TestFolder folder;
        const std::string table = UnkeyedIndexedTable(folder);
        const std::string xPath = folder.File("STOCK.X01");
        const uint8_t tableStamp = HeaderOf(table).changeCount2;
        Patch(xPath, 0x2E, std::string(1, char(tableStamp + c.stampAboveTable)));
        std::vector<uint8_t> before = Contents(xPath);
        AppendField(table, "Note", fldZSTRING, 120);
        std::vector<uint8_t> after = Contents(xPath);
        ASSERT_EQ(after.size(), before.size()) << c.what;
        EXPECT_EQ(after[0x2E], uint8_t(tableStamp + c.stampAfterAboveOldTable)) << c.what;
        after[0x2E] = before[0x2E];
        EXPECT_TRUE(after == before) << c.what;
        EXPECT_NE(HeaderOf(xPath).changeCount2, HeaderOf(table).changeCount2) << c.what;
        Verdict v = Verify(table);
        EXPECT_EQ(v.problems + v.notUnderstood, 0u) << c.what << "\n" << v.lines;
    }
}

TEST(UnkeyedIndex, AMaintainedIndexNeedsAKey) {
    TestFolder folder;
    const std::string table = folder.File("PLAIN.DB");
    FLDDesc fields[] = {ColumnDesc("Name", fldZSTRING, 20)};
    CRTblDesc desc{};
    std::strcpy(desc.szTblName, "PLAIN.DB");
    desc.iFldCount = 1;
    desc.pfldDesc = fields;
    CreateTable(table, desc, false);
    IDXDesc index{};
    index.iFldsInKey = 1;
    index.aiKeyFld[0] = 1;
    index.bMaintained = 1;
    try {
        AddSecondaryIndex(table, index, NoPassword);
        ADD_FAILURE() << "built";
    } catch (const EngineError& err) {
        EXPECT_EQ(err.code, DBIERR_NOTSUPPORTED);
    }
    EXPECT_FALSE(FileExists(folder.File("PLAIN.X01")));
}

} // namespace
