// Restructures of sample tables written by the original engine, checked file by file: the
// secondary index's hints, the family stamps, the validity file and a raised table level.
#include "bytes.h"
#include "restructure.h"
#include "table_data.h"
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace pdx;

std::string CopySample(const std::string& folder, const std::vector<std::string>& files) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    std::string dir = std::string(base) + "family_" + std::to_string(now.QuadPart);
    CreateDirectoryA(dir.c_str(), nullptr);
    for (const auto& f : files) {
        std::string to = dir + "\\" + f;
        EXPECT_TRUE(CopyFileA((std::string(SAMPLES_DIR) + "/" + folder + "/" + f).c_str(),
                              to.c_str(), FALSE))
            << f;
        SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    return dir;
}

void AddField(const std::string& table, const char* name, uint16_t type, int16_t units = 0) {
    File f = File::Open(table, Access::Read, Share::Shared, DBIERR_NOSUCHTABLE);
    TableHeader h = ReadHeader(f);
    f.Close();
    std::vector<FLDDesc> fields(h.fields.size() + 1);
    for (size_t i = 0; i < h.fields.size(); ++i)
        DescribeField(h.fields[i], uint16_t(i + 1), fields[i]);
    std::strcpy(fields.back().szName, name);
    fields.back().iFldType = type;
    fields.back().iUnits1 = units;
    std::vector<CROpType> ops(fields.size(), crNOOP);
    ops.back() = crADD;
    CRTblDesc desc{};
    desc.iFldCount = uint16_t(fields.size());
    desc.pfldDesc = fields.data();
    desc.pecrFldOp = ops.data();
    RestructureTable(table, desc, [](uint32_t) { return false; });
}

TableHeader HeaderOf(const std::string& path) {
    File f = File::Open(path, Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
    return ReadHeader(f);
}

TEST(Family, SecondaryIndexHintsFollowTheRecordsAndStampsAgree) {
    std::string dir = CopySample(
        "customer", {"CUSTOMER.DB", "CUSTOMER.PX", "CUSTOMER.MB", "CUSTOMER.X06", "CUSTOMER.Y06"});
    std::string table = dir + "\\CUSTOMER.DB";
    AddField(table, "MSG_BIENNIAL", fldZSTRING,
             120); // 394 → 514 bytes: 3 records a block instead of 5
    TableHeader db = HeaderOf(table), px = HeaderOf(dir + "\\CUSTOMER.PX");
    TableHeader x = HeaderOf(dir + "\\CUSTOMER.X06"), y = HeaderOf(dir + "\\CUSTOMER.Y06");
    EXPECT_EQ(db.numRecords, 20u);
    EXPECT_EQ(db.fileBlocks, 7u);
    EXPECT_EQ(px.prefix[0x2C], db.changeCount1);
    EXPECT_EQ(x.changeCount2, db.changeCount2);
    EXPECT_EQ(y.prefix[0x2C], x.changeCount1);

    File dbFile = File::Open(table, Access::Read, Share::Shared, DBIERR_NOSUCHTABLE);
    File xFile = File::Open(dir + "\\CUSTOMER.X06", Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
    const Field& xKey = x.fields[x.keyFields - db.keyFields];
    const Field& hint = x.fields.back();
    std::vector<uint8_t> block(db.BlockSize());
    ChainReader entries(xFile, x);
    unsigned checked = 0;
    while (entries.Next()) {
        for (unsigned i = 0; i < entries.Count(); ++i, ++checked) {
            const uint8_t* e = entries.Record(i);
            ReadBlock(dbFile, db, GetIndexShort(e + hint.offset), block.data());
            unsigned count =
                unsigned(int16_t(Get16(block.data() + 4)) + db.recordSize) / db.recordSize;
            bool found = false;
            for (unsigned r = 0; r < count; ++r)
                found = found ||
                        std::memcmp(block.data() + 6 + r * db.recordSize, e + xKey.offset, 4) == 0;
            EXPECT_TRUE(found) << "entry " << checked;
        }
    }
    EXPECT_EQ(checked, 20u);
}

TEST(Family, ValidityFileFollowsTheTable) {
    std::string dir = CopySample("fields", {"logical.db", "logical.val"});
    AddField(dir + "\\logical.db", "EIN", fldINT32);
    TableHeader db = HeaderOf(dir + "\\logical.db");
    File val = File::Open(dir + "\\logical.val", Access::Read, Share::Shared, DBIERR_NOSUCHFILE);
    std::vector<uint8_t> v(size_t(val.Size()));
    val.ReadExact(0, v.data(), v.size());
    EXPECT_EQ(v[0], db.changeCount2);
    uint32_t footer = Get32(&v[0x09]);
    ASSERT_LT(footer + 16u, v.size());
    EXPECT_EQ(Get16(&v[footer]), 2u);
    EXPECT_EQ(Get16(&v[footer + 6]), 1u); // field IDs
    EXPECT_EQ(Get16(&v[footer + 8]), db.fields[1].id);
    EXPECT_EQ(v[footer + 10], 0x09); // types and sizes
    EXPECT_EQ(v[footer + 12], 0x04);
    EXPECT_EQ(v[footer + 13], 4);
    std::string names(v.end() - 9, v.end());
    EXPECT_EQ(names, std::string("BOOL\0EIN\0", 9));
}

TEST(Family, LongFieldRaisesALevel3TableToLevel5) {
    std::string dir = CopySample("fields", {"date35.db"});
    std::string table = dir + "\\date35.db";
    ASSERT_EQ(HeaderOf(table).version, 4);
    AddField(table, "EIN", fldINT32);
    TableHeader h = HeaderOf(table);
    EXPECT_EQ(h.version, kVersion5);
    ASSERT_EQ(h.fields.size(), 2u);
    EXPECT_EQ(h.fields[0].id, 1);
    EXPECT_EQ(h.fields[1].id, 2);
    EXPECT_EQ(h.hiFieldId, 3);
    EXPECT_EQ(h.sortOrderId, "ascii");
    EXPECT_EQ(h.numRecords, 3u);
}

TEST(Family, NewFieldTakesTheNextPersistentId) {
    std::string dir = CopySample("misc", {"country.db"});
    AddField(dir + "\\country.db", "Capital2", fldZSTRING, 24);
    TableHeader h = HeaderOf(dir + "\\country.db");
    std::vector<uint16_t> ids;
    for (const auto& f : h.fields)
        ids.push_back(f.id);
    EXPECT_EQ(ids, (std::vector<uint16_t>{1, 2, 5, 3, 4, 6}));
    EXPECT_EQ(h.hiFieldId, 7);
}

} // namespace
