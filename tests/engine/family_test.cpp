// Restructures of sample tables written by the original engine, checked file by file: the
// secondary index's hints, the family stamps, the validity file and a raised table level; and
// the recovery of commits cut short by a crash or met by another opener.
#include "add_index.h"
#include "append_field.h"
#include "bytes.h"
#include "family.h"
#include "family_files.h"
#include "samples.h"
#include "status.h"
#include "table_data.h"
#include "test_folder.h"
#include "verify_table.h"
#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace pdx;

// Copies sample files of one folder into `dir` (made when missing); returns dir.
std::string CopySamples(const std::string& dir, const std::string& folder,
                        const std::vector<std::string>& files) {
    CreateDirectoryA(dir.c_str(), nullptr);
    for (const auto& f : files)
        EXPECT_TRUE(CopySample(folder + "\\" + f, dir + "\\" + f)) << f;
    return dir;
}

TEST(Family, SecondaryIndexHintsFollowTheRecordsAndStampsAgree) {
    SKIP_WITHOUT_SAMPLES("secondary index hints and stamps of the customer table");
    TestFolder folder;
    std::string dir =
        CopySamples(folder.Path(), "customer",
                    {"CUSTOMER.DB", "CUSTOMER.PX", "CUSTOMER.MB", "CUSTOMER.X06", "CUSTOMER.Y06"});
    std::string table = dir + "\\CUSTOMER.DB";
    AppendField(table, "MSG_BIENNIAL", fldZSTRING,
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
    SKIP_WITHOUT_SAMPLES("the validity file of fields\\logical.db");
    TestFolder folder;
    std::string dir = CopySamples(folder.Path(), "fields", {"logical.db", "logical.val"});
    AppendField(dir + "\\logical.db", "EIN", fldINT32);
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
    SKIP_WITHOUT_SAMPLES("a level 3 table (fields\\date35.db) raised to level 5");
    TestFolder folder;
    std::string dir = CopySamples(folder.Path(), "fields", {"date35.db"});
    std::string table = dir + "\\date35.db";
    ASSERT_EQ(HeaderOf(table).version, 4);
    AppendField(table, "EIN", fldINT32);
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
    SKIP_WITHOUT_SAMPLES("persistent field ids of misc\\country.db");
    TestFolder folder;
    std::string dir = CopySamples(folder.Path(), "misc", {"country.db"});
    AppendField(dir + "\\country.db", "Capital2", fldZSTRING, 24);
    TableHeader h = HeaderOf(dir + "\\country.db");
    std::vector<uint16_t> ids;
    for (const auto& f : h.fields)
        ids.push_back(f.id);
    EXPECT_EQ(ids, (std::vector<uint16_t>{1, 2, 5, 3, 4, 6}));
    EXPECT_EQ(h.hiFieldId, 7);
}

// An index follows its table to a higher level, as every index the original engine writes
// carries its table's version byte; the index of a 3.x table gains the data header with it.
TEST(Family, SecondaryIndexesFollowARaisedTableLevel) {
    SKIP_WITHOUT_SAMPLES(
        "indexes of misc\\biolife.db (level 4) and fields\\date35.db (3.x) raised");
    struct Case {
        const char* folder;
        std::vector<std::string> files; // the table first
        uint16_t field;
        bool maintained;
        const char *index, *tree;
    };
    const Case cases[] = {
        {"misc", {"biolife.db", "biolife.mb"}, 5, true, "biolife.X05", "biolife.Y05"},
        {"fields", {"date35.db"}, 1, false, "date35.X01", "date35.Y01"}};
    for (const Case& c : cases) {
        TestFolder folder;
        const std::string table = CopySamples(folder.Path(), c.folder, c.files) + "\\" + c.files[0];
        IDXDesc index{};
        index.iFldsInKey = 1;
        index.aiKeyFld[0] = c.field;
        index.bMaintained = c.maintained;
        AddSecondaryIndex(table, index, [](uint32_t) { return false; });
        AppendField(table, "EIN", fldINT32);

        const TableHeader db = HeaderOf(table);
        ASSERT_EQ(db.version, kVersion5) << c.files[0];
        const std::string xPath = folder.File(c.index);
        const TableHeader x = HeaderOf(xPath), y = HeaderOf(folder.File(c.tree));
        EXPECT_EQ(x.version, db.version) << c.files[0];
        EXPECT_EQ(y.version, db.version) << c.files[0];
        ASSERT_TRUE(x.HasDataHeader()) << c.files[0];
        const std::vector<uint8_t> raw = Contents(xPath);
        EXPECT_EQ(Get(raw.data(), hdr::kVersionWord), VersionWord(db.version)) << c.files[0];
        EXPECT_EQ(Get(raw.data(), hdr::kVersionWordAgain), VersionWord(db.version)) << c.files[0];
        EXPECT_EQ(x.fields[0].id, db.fields[c.field - 1u].id) << c.files[0];
        EXPECT_EQ(x.sortOrderId, db.sortOrderId) << c.files[0];
        std::string findings;
        const unsigned problems = VerifyTable(
            table, [](uint32_t) { return false; },
            [&](Finding kind, const std::string& text) {
                if (kind != Finding::Note)
                    findings += text + "\n";
            });
        EXPECT_EQ(problems, 0u) << c.files[0] << "\n" << findings;
        EXPECT_EQ(findings, "") << c.files[0];
    }
}

void Put(const std::string& path, const void* data, size_t size) {
    File f = File::Create(path);
    f.WriteAt(0, data, size);
}

// What a commit that died part-way leaves on disk, in the order the engine does it: temporaries,
// then the journal, then the renames one by one, the table's own last.
enum class Journal { None, Empty, Torn, Complete };

struct Crash {
    const char* what;
    Journal journal;
    unsigned renamed; // targets already moved over, from the end of the journal's list
    bool newFamily;   // the family the next open must find
};

// The ORDERS family before and after adding a field, file by file in journal order.
struct Families {
    std::vector<std::string> names{"ORDERS.DB", "ORDERS.PX"};
    std::vector<std::vector<uint8_t>> before, after;
    Families() {
        TestFolder folder;
        std::string dir = CopySamples(folder.Path(), "orders", names);
        for (const auto& n : names)
            before.push_back(Contents(dir + "\\" + n));
        AppendField(dir + "\\ORDERS.DB", "EIN", fldINT32);
        for (const auto& n : names)
            after.push_back(Contents(dir + "\\" + n));
    }
};

// Lays out the crash in a copy of the old family in dir.
void Stage(const Families& f, const Crash& c, const std::string& dir) {
    CopySamples(dir, "orders", f.names);
    for (size_t i = 0; i < f.names.size(); ++i) {
        std::string target = dir + "\\" + f.names[i];
        bool moved = i + c.renamed >= f.names.size();
        Put(moved ? target : TemporaryName(target), f.after[i].data(), f.after[i].size());
    }
    std::string text;
    for (const auto& n : f.names)
        text += n + "\n";
    if (c.journal == Journal::Torn)
        text.resize(text.size() - 5); // the write stopped inside the last name
    else
        text += "END\n";
    if (c.journal == Journal::Empty)
        text.clear();
    if (c.journal != Journal::None)
        Put(dir + "\\ORDERS.DB~commit", text.data(), text.size());
}

// Every file of the family is from one side, and nothing of the commit is left behind.
void ExpectWhole(const Families& f, const std::string& dir, bool newFamily) {
    for (size_t i = 0; i < f.names.size(); ++i)
        EXPECT_TRUE(Contents(dir + "\\" + f.names[i]) == (newFamily ? f.after[i] : f.before[i]))
            << f.names[i] << " is not the " << (newFamily ? "new" : "old") << " one";
    EXPECT_EQ(FilesIn(dir), std::set<std::string>(f.names.begin(), f.names.end()));
}

TEST(Family, RecoveryLeavesOneWholeFamily) {
    SKIP_WITHOUT_SAMPLES("recovery of commits cut short in the orders table");
    const Families f;
    ASSERT_NE(f.before[0], f.after[0]);
    ASSERT_NE(f.before[1], f.after[1]);
    const Crash crashes[] = {
        {"temporaries written, no journal yet", Journal::None, 0, false},
        {"journal created but empty", Journal::Empty, 0, false},
        {"journal cut short", Journal::Torn, 0, false},
        {"journal complete, nothing renamed", Journal::Complete, 0, true},
        {"journal complete, index renamed, table not", Journal::Complete, 1, true},
        {"journal complete, all renamed", Journal::Complete, 2, true},
    };
    for (const Crash& c : crashes) {
        SCOPED_TRACE(c.what);
        TestFolder folder;
        Stage(f, c, folder.Path());
        {
            // Held by another opener, such as a writer that is still writing or committing:
            // its files are not the recovery's to touch.
            File holder = File::Open(folder.File("ORDERS.DB"), Access::Read, Share::Exclusive,
                                     DBIERR_NOSUCHTABLE);
            const std::set<std::string> staged = FilesIn(folder.Path());
            RecoverFamily(folder.File("ORDERS.DB"));
            EXPECT_EQ(FilesIn(folder.Path()), staged) << "recovery under another's lock";
        }
        RecoverFamily(folder.File("ORDERS.DB"));
        ExpectWhole(f, folder.Path(), c.newFamily);
    }
}

// A folder reached under another name after the crash (another drive mapping, a restored copy)
// must not lose the half of a commit that had not been renamed yet. The journal is the engine's
// own: the table held open by a reader makes its commit stop after the index's rename.
TEST(Family, RecoveryFinishesACommitInAMovedFolder) {
    SKIP_WITHOUT_SAMPLES("recovery of a commit in a moved folder (orders table)");
    const Families f;
    TestFolder folder;
    std::string dir = CopySamples(folder.File("family"), "orders", f.names);
    std::vector<std::string> targets;
    for (size_t i = 0; i < f.names.size(); ++i) {
        targets.push_back(dir + "\\" + f.names[i]);
        Put(TemporaryName(targets.back()), f.after[i].data(), f.after[i].size());
    }
    {
        File reader = File::Open(targets[0], Access::Read, Share::Shared, DBIERR_NOSUCHTABLE);
        EXPECT_THROW(CommitFamily(targets[0], targets), EngineError);
    }
    ASSERT_TRUE(Contents(targets[1]) == f.after[1]);
    ASSERT_TRUE(FileExists(TemporaryName(targets[0])));
    std::string moved = folder.File("moved");
    ASSERT_TRUE(MoveFileA(dir.c_str(), moved.c_str()));
    RecoverFamily(moved + "\\ORDERS.DB");
    ExpectWhole(f, moved, true);
}

// Two restructures of the same table differ only in the time a .DB header records at 0x60.
bool SameButTheTime(std::vector<uint8_t> a, std::vector<uint8_t> b) {
    if (a.size() < 0x64 || b.size() < 0x64)
        return a == b;
    std::fill(a.begin() + 0x60, a.begin() + 0x64, 0);
    std::fill(b.begin() + 0x60, b.begin() + 0x64, 0);
    return a == b;
}

// Every open recovers first. An open from another process or thread that comes while a
// restructure commits must not take the commit's files for the leftovers of a dead one.
TEST(Family, RecoveryDuringACommitKeepsTheFamilyWhole) {
    SKIP_WITHOUT_SAMPLES("recovery while a commit runs (orders table)");
    const Families f;
    TestFolder folder;
    std::string dir = CopySamples(folder.Path(), "orders", f.names);
    std::string table = dir + "\\ORDERS.DB";
    std::atomic<bool> stop{false}, pause{true}, paused{false};
    std::thread opener([&] {
        while (!stop) {
            paused = pause.load();
            if (paused)
                Sleep(1);
            else
                try {
                    RecoverFamily(table);
                } catch (const EngineError&) {
                }
        }
    });
    struct Join {
        std::atomic<bool>& stop;
        std::thread& thread;
        ~Join() {
            stop = true;
            thread.join();
        }
    } join{stop, opener};
    auto quiet = [&] {
        pause = true;
        while (!paused)
            Sleep(1);
    };
    // The window is a few instructions wide: many rounds, each one a chance to land in it.
    for (int round = 0; round < 100 && !HasFailure(); ++round) {
        quiet();
        for (size_t i = 0; i < f.names.size(); ++i)
            Put(dir + "\\" + f.names[i], f.before[i].data(), f.before[i].size());
        pause = false;
        try {
            AppendField(table, "EIN", fldINT32);
        } catch (const EngineError&) {
            // the opener may get in the way: either family will do, a mix will not
        }
        quiet();
        RecoverFamily(table);
        bool allOld = true, allNew = true;
        for (size_t i = 0; i < f.names.size(); ++i) {
            std::vector<uint8_t> now = Contents(dir + "\\" + f.names[i]);
            allOld = allOld && now == f.before[i];
            allNew = allNew && SameButTheTime(now, f.after[i]);
        }
        EXPECT_TRUE(allOld || allNew) << "round " << round << " left a mixed family";
        EXPECT_EQ(FilesIn(dir), std::set<std::string>(f.names.begin(), f.names.end()));
    }
}

} // namespace
