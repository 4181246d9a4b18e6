// The engine through its library boundary: statuses, error entries, tables created, filled,
// restructured and read back, passwords, sharing and damaged files.
#include "append_request.h"
#include "engine_library.h"
#include "file_bytes.h"
#include "samples.h"
#include "test_folder.h"
#include <algorithm>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

EngineLibrary& Dbi() {
    static EngineLibrary library(ENGINE_DLL);
    return library;
}

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

FLDDesc Field(const char* name, uint16_t type, int16_t units1 = 0, uint16_t subtype = 0) {
    FLDDesc d{};
    std::strcpy(d.szName, name);
    d.iFldType = type;
    d.iSubType = subtype;
    d.iUnits1 = units1;
    return d;
}

std::string EntryText(uint16_t n, DBIResult* code = nullptr) {
    char text[DBIMAXMSGLEN + 1];
    uint32_t native = 0;
    DBIResult c = Dbi().DbiGetErrorEntry(n, &native, text);
    if (code)
        *code = c;
    return text;
}

class EngineApi : public ::testing::Test {
  protected:
    void SetUp() override {
        ini_ = folder_.File("engine.ini");
        std::ofstream(ini_) << "[ProfileData]\nPATH=" << folder_.Path()
                            << "\nDEFAULT DRIVER=PARADOX\n";
        DBIEnv env{};
        std::strcpy(env.szLang, "0009");
        std::strcpy(env.szIniFile, ini_.c_str());
        ASSERT_EQ(Dbi().DbiInitFn(DBIINTFVER, &env), DBIERR_NONE);
        ASSERT_EQ(Dbi().DbiOpenDatabase("PROFILEDATA", nullptr, dbiREADWRITE, dbiOPENSHARED, "", 0,
                                        nullptr, nullptr, &db_),
                  DBIERR_NONE);
    }
    void TearDown() override {
        Dbi().DbiCloseDatabase(&db_);
        Dbi().DbiExit();
    }

    // Keyed on Id (I); Name A20; Score S. Rows inserted in a shuffled order.
    void CreatePeople(const char* table, int rows, const char* password = nullptr) {
        FLDDesc fields[] = {Field("Id", fldINT32), Field("Name", fldZSTRING, 20),
                            Field("Score", fldINT16)};
        IDXDesc key{};
        key.bPrimary = 1;
        key.iFldsInKey = 1;
        key.aiKeyFld[0] = 1;
        CRTblDesc desc{};
        std::strcpy(desc.szTblName, table);
        std::strcpy(desc.szTblType, "PARADOX");
        desc.iFldCount = 3;
        desc.pfldDesc = fields;
        desc.iIdxCount = 1;
        desc.pidxDesc = &key;
        if (password) {
            desc.bProtected = 1;
            std::strcpy(desc.szPassword, password);
        }
        ASSERT_EQ(Dbi().DbiCreateTable(db_, 0, &desc), DBIERR_NONE);
        if (password) {
            ASSERT_EQ(Dbi().DbiAddPassword(password), DBIERR_NONE);
        }
        hDBICur cur = Open(table, dbiOPENEXCL);
        std::vector<int32_t> ids(static_cast<size_t>(rows));
        for (int i = 0; i < rows; ++i)
            ids[size_t(i)] = i + 1;
        std::shuffle(ids.begin(), ids.end(), std::mt19937(7));
        std::vector<uint8_t> record(64);
        for (int32_t id : ids) {
            Dbi().DbiInitRecord(cur, record.data());
            std::string name = "name " + std::to_string(id);
            int16_t score = int16_t(id % 200 - 100);
            Dbi().DbiPutField(cur, 1, record.data(), &id);
            Dbi().DbiPutField(cur, 2, record.data(), name.c_str());
            Dbi().DbiPutField(cur, 3, record.data(), &score);
            ASSERT_EQ(Dbi().DbiInsertRecord(cur, dbiNOLOCK, record.data()), DBIERR_NONE);
        }
        ASSERT_EQ(Dbi().DbiCloseCursor(&cur), DBIERR_NONE);
        if (password)
            Dbi().DbiDropPassword(nullptr);
    }

    hDBICur Open(const char* table, DBIShareMode share, DBIResult expect = DBIERR_NONE) {
        hDBICur cur = 0;
        EXPECT_EQ(Dbi().DbiOpenTable(db_, table, "PARADOX", nullptr, nullptr, 0, dbiREADWRITE,
                                     share, xltFIELD, 0, nullptr, &cur),
                  expect);
        return cur;
    }

    // Appends a field the way the upgrade does: open exclusively, read the descriptors back,
    // close, restructure. The first failing status is the result.
    DBIResult AddField(const char* table, FLDDesc added) {
        hDBICur cur = 0;
        if (DBIResult r = Dbi().DbiOpenTable(db_, table, "PARADOX", nullptr, nullptr, 0,
                                             dbiREADWRITE, dbiOPENEXCL, xltFIELD, 0, nullptr, &cur))
            return r;
        CURProps props{};
        Dbi().DbiGetCursorProps(cur, &props);
        std::vector<FLDDesc> fields(props.iFields);
        Dbi().DbiGetFieldDescs(cur, fields.data());
        AppendFieldRequest request(std::move(fields), added, table, props.szTableType);
        Dbi().DbiCloseCursor(&cur);
        return Dbi().DbiDoRestructure(db_, 1, request.Desc(), nullptr, nullptr, nullptr, 0);
    }

    // Every row as "id|name|score[|more…]" in table order.
    std::vector<std::string> Rows(const char* table) {
        hDBICur cur = Open(table, dbiOPENSHARED);
        CURProps props{};
        Dbi().DbiGetCursorProps(cur, &props);
        std::vector<uint8_t> record(props.iRecBufSize);
        std::vector<std::string> rows;
        while (Dbi().DbiGetNextRecord(cur, dbiNOLOCK, record.data(), nullptr) == DBIERR_NONE) {
            int32_t id;
            char name[32];
            int16_t score;
            Dbi().DbiGetField(cur, 1, record.data(), &id, nullptr);
            Dbi().DbiGetField(cur, 2, record.data(), name, nullptr);
            Dbi().DbiGetField(cur, 3, record.data(), &score, nullptr);
            std::string row = std::to_string(id) + "|" + name + "|" + std::to_string(score);
            for (uint16_t f = 4; f <= props.iFields; ++f) {
                BOOL16 blank = 0;
                Dbi().DbiGetField(cur, f, record.data(), nullptr, &blank);
                row += blank ? "|NULL" : "|set";
            }
            rows.push_back(row);
        }
        Dbi().DbiCloseCursor(&cur);
        return rows;
    }

    std::string Path(const char* name) const { return folder_.File(name); }

    TestFolder folder_;
    std::string ini_;
    hDBIDb db_ = 0;
};

TEST_F(EngineApi, InitialisationStatuses) {
    DBIEnv env{};
    EXPECT_EQ(Dbi().DbiInitFn(DBIINTFVER, &env), DBIERR_MULTIPLEINIT);
    EXPECT_EQ(Dbi().DbiInitFn(400, &env), DBIERR_INTERFACEVER);
    hDBISes session = 0;
    EXPECT_EQ(Dbi().DbiGetCurrSession(&session), DBIERR_NONE);
    EXPECT_NE(session, 0u);
}

TEST_F(EngineApi, EveryStatusHasText) {
    for (DBIResult code : {DBIERR_INVALIDPASSWORD, DBIERR_NOTSUFFTABLERIGHTS, DBIERR_ENTRYNOTFOUND,
                           DBIERR_MULTIPLEINIT, DBIERR_INTERFACEVER, DBIERR_UNKNOWNSQL,
                           DBIERR_NOSUCHFILE, DBIERR_NOMEMORY, DBIERR_OSERROR, DBIERR_CANNOTLOADLIB,
                           DBIERR_FILECORRUPT, DBIERR_NOSUCHALIAS}) {
        char text[DBIMAXMSGLEN + 1];
        ASSERT_EQ(Dbi().DbiGetErrorString(code, text), DBIERR_NONE);
        EXPECT_STRNE(text, "Unknown engine status.") << std::hex << code;
    }
}

TEST_F(EngineApi, MissingAliasAndTableNameThemselves) {
    hDBIDb other = 0;
    EXPECT_EQ(Dbi().DbiOpenDatabase("NOSUCH", nullptr, dbiREADWRITE, dbiOPENSHARED, "", 0, nullptr,
                                    nullptr, &other),
              DBIERR_NOSUCHALIAS);
    DBIResult code = 0;
    EXPECT_NE(EntryText(1, &code).find("NOSUCH"), std::string::npos);
    EXPECT_EQ(code, DBIERR_NOSUCHALIAS);
    EXPECT_EQ(EntryText(2, &code), "");
    EXPECT_EQ(code, DBIERR_NONE);

    Open("Missing.DB", dbiOPENSHARED, DBIERR_NOSUCHTABLE);
    EXPECT_NE(EntryText(1).find("Missing.DB"), std::string::npos);
}

TEST_F(EngineApi, KeyedInsertsReadBackInKeyOrderAndSurviveAddedFields) {
    CreatePeople("People.DB", 700);
    std::vector<std::string> before = Rows("People.DB");
    ASSERT_EQ(before.size(), 700u);
    for (size_t i = 0; i < before.size(); ++i)
        ASSERT_EQ(before[i].substr(0, before[i].find('|')), std::to_string(i + 1));

    EXPECT_EQ(AddField("People.DB", Field("MSG_BIENNIAL", fldZSTRING, 120)), DBIERR_NONE);
    EXPECT_EQ(AddField("People.DB", Field("DViols", fldINT16, 3)), DBIERR_NONE);
    EXPECT_EQ(AddField("People.DB", Field("EIN", fldINT32)), DBIERR_NONE);

    std::vector<std::string> after = Rows("People.DB");
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i], before[i] + "|NULL|NULL|NULL");

    hDBICur cur = Open("People.DB", dbiOPENSHARED);
    FLDDesc fields[6];
    ASSERT_EQ(Dbi().DbiGetFieldDescs(cur, fields), DBIERR_NONE);
    EXPECT_STREQ(fields[3].szName, "MSG_BIENNIAL");
    EXPECT_EQ(fields[3].iUnits1, 120);
    EXPECT_EQ(fields[4].iFldType, fldINT16);
    EXPECT_EQ(fields[5].iFldType, fldINT32);
    Dbi().DbiCloseCursor(&cur);
}

TEST_F(EngineApi, RefusedRestructureLeavesFilesUntouched) {
    CreatePeople("People.DB", 50);
    std::vector<char> db = ReadAll(Path("People.DB")), px = ReadAll(Path("People.PX"));
    EXPECT_EQ(AddField("People.DB", Field("name", fldZSTRING, 5)), DBIERR_NAMENOTUNIQUE);
    EXPECT_EQ(AddField("People.DB", Field("Bad[1]", fldZSTRING, 5)), DBIERR_INVALIDFIELDNAME);
    EXPECT_EQ(AddField("People.DB", Field("Memo", fldBLOB, 10, fldstMEMO)), DBIERR_NOTSUPPORTED);
    hDBICur held = Open("People.DB", dbiOPENSHARED);
    EXPECT_EQ(AddField("People.DB", Field("Later", fldINT32)), DBIERR_TABLEINUSE);
    Dbi().DbiCloseCursor(&held);
    EXPECT_EQ(ReadAll(Path("People.DB")), db);
    EXPECT_EQ(ReadAll(Path("People.PX")), px);
}

TEST_F(EngineApi, ExclusiveOpenKeepsOthersOut) {
    CreatePeople("People.DB", 5);
    hDBICur first = Open("People.DB", dbiOPENEXCL);
    Open("People.DB", dbiOPENSHARED, DBIERR_TABLEINUSE);
    Dbi().DbiCloseCursor(&first);
    hDBICur shared1 = Open("People.DB", dbiOPENSHARED);
    hDBICur shared2 = Open("People.DB", dbiOPENSHARED);
    Open("People.DB", dbiOPENEXCL, DBIERR_TABLEINUSE);
    Dbi().DbiCloseCursor(&shared1);
    Dbi().DbiCloseCursor(&shared2);
}

TEST_F(EngineApi, PasswordProtectedTableNeedsItsPassword) {
    CreatePeople("Secret.DB", 300, "s3cret");
    Open("Secret.DB", dbiOPENSHARED, DBIERR_INVALIDPASSWORD);
    EXPECT_NE(EntryText(1).find("Secret.DB"), std::string::npos);
    ASSERT_EQ(Dbi().DbiAddPassword("S3CRET"), DBIERR_NONE); // passwords are case-sensitive
    Open("Secret.DB", dbiOPENSHARED, DBIERR_INVALIDPASSWORD);
    EXPECT_EQ(AddField("Secret.DB", Field("EIN", fldINT32)), DBIERR_INVALIDPASSWORD);

    ASSERT_EQ(Dbi().DbiAddPassword("s3cret"), DBIERR_NONE);
    std::vector<std::string> before = Rows("Secret.DB");
    ASSERT_EQ(before.size(), 300u);
    EXPECT_EQ(AddField("Secret.DB", Field("EIN", fldINT32)), DBIERR_NONE);
    std::vector<std::string> after = Rows("Secret.DB");
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.front(), before.front() + "|NULL");
    EXPECT_EQ(after.back(), before.back() + "|NULL");

    Dbi().DbiDropPassword(nullptr);
    Open("Secret.DB", dbiOPENSHARED, DBIERR_INVALIDPASSWORD);
}

TEST_F(EngineApi, DamagedTablesFailCleanlyAndAreNotWritten) {
    CreatePeople("People.DB", 300);
    const std::vector<char> good = ReadAll(Path("People.DB"));
    struct Damage {
        const char* what;
        size_t offset;
        char value;
        bool truncate;
        DBIResult open, restructure;
    };
    const Damage cases[] = {
        {"record size", 0x00, 0x7F, false, DBIERR_HEADERCORRUPT, DBIERR_HEADERCORRUPT},
        {"block size", 0x05, 0x40, false, DBIERR_HEADERCORRUPT, DBIERR_HEADERCORRUPT},
        {"version", 0x39, 0x63, false, DBIERR_UNSUPPORTEDVERSION, DBIERR_UNSUPPORTEDVERSION},
        {"chain loops", 0x800, 0x01, false, DBIERR_NONE, DBIERR_FILECORRUPT},
        {"record count", 0x06, 0x7F, false, DBIERR_NONE, DBIERR_FILECORRUPT},
        {"truncated", 0x1000, 0, true, DBIERR_HEADERCORRUPT, DBIERR_HEADERCORRUPT},
    };
    for (const auto& c : cases) {
        std::vector<char> bad = good;
        if (c.truncate)
            bad.resize(c.offset);
        else
            bad[c.offset] = c.value;
        if (c.offset == 0x800)
            bad[0x801] = 0; // block 1 points at itself
        WriteAll(Path("People.DB"), bad);
        hDBICur cur = Open("People.DB", dbiOPENSHARED, c.open);
        if (cur)
            Dbi().DbiCloseCursor(&cur);
        EXPECT_EQ(AddField("People.DB", Field("EIN", fldINT32)), c.restructure) << c.what;
        EXPECT_EQ(ReadAll(Path("People.DB")), bad) << c.what;
    }
}

// The header-only .MB the original engine writes for a new table with blob columns (the
// samples' misc\empty.mb): one 4 KiB header block, zero but for these bytes.
std::string EmptyBlobFile() {
    std::string bytes(4096, '\0');
    const std::pair<size_t, uint8_t> set[] = {
        {1, 0x01},  {3, 0x01},  {5, 0x82},  {6, 0x73},  {7, 0x02},  {9, 0x29}, {12, 0x10},
        {14, 0x10}, {16, 0x10}, {17, 0x40}, {20, 0x08}, {41, 0xA1}, {42, 0x02}};
    for (const auto& [offset, value] : set)
        bytes[offset] = char(value);
    return bytes;
}

TEST(EmptyBlobFile, IsTheOneTheOriginalEngineWrote) {
    SKIP_WITHOUT_SAMPLES("the empty .MB fixture against the original engine's misc\\empty.mb");
    EXPECT_EQ(FileBytes(SamplePath("misc\\empty.mb")), EmptyBlobFile());
}

// A new table with memo and graphic columns gets the header-only .MB the original engine
// writes; a protected one gets it encrypted.
TEST_F(EngineApi, NewTableWithBlobColumnsGetsAnEmptyBlobFile) {
    FLDDesc fields[] = {Field("Id", fldINT32), Field("Notes", fldBLOB, 20, fldstMEMO),
                        Field("Picture", fldBLOB, 10, fldstGRAPHIC)};
    CRTblDesc desc{};
    std::strcpy(desc.szTblName, "Blobs.DB");
    desc.iFldCount = 3;
    desc.pfldDesc = fields;
    ASSERT_EQ(Dbi().DbiCreateTable(db_, 0, &desc), DBIERR_NONE);
    const std::string empty = EmptyBlobFile();
    EXPECT_EQ(FileBytes(Path("Blobs.MB")), empty);

    std::strcpy(desc.szTblName, "Locked.DB");
    desc.bProtected = 1;
    std::strcpy(desc.szPassword, "s3cret");
    ASSERT_EQ(Dbi().DbiCreateTable(db_, 0, &desc), DBIERR_NONE);
    const std::string locked = FileBytes(Path("Locked.MB"));
    EXPECT_EQ(locked.size(), empty.size());
    EXPECT_NE(locked, empty);
}

// Memo values of a table written by the original engine: one in the record's leader, one in a
// shared .MB block, one in a block of its own; still readable after a restructure.
TEST(EngineBlobs, MemoValuesInAllThreePlacesSurviveARestructure) {
    SKIP_WITHOUT_SAMPLES("memo values of the original engine's customer table");
    TestFolder folder;
    for (const char* f :
         {"CUSTOMER.DB", "CUSTOMER.PX", "CUSTOMER.MB", "CUSTOMER.X06", "CUSTOMER.Y06"}) {
        ASSERT_TRUE(CopySample(std::string("customer\\") + f, folder.File(f))) << f;
    }
    DBIEnv env{};
    ASSERT_EQ(Dbi().DbiInitFn(DBIINTFVER, &env), DBIERR_NONE);
    hDBIDb db = 0;
    ASSERT_EQ(Dbi().DbiOpenDatabase(folder.Path().c_str(), nullptr, dbiREADWRITE, dbiOPENSHARED, "",
                                    0, nullptr, nullptr, &db),
              DBIERR_NONE);
    auto memos = [&] {
        hDBICur cur = 0;
        EXPECT_EQ(Dbi().DbiOpenTable(db, "CUSTOMER.DB", "PARADOX", nullptr, nullptr, 0, dbiREADONLY,
                                     dbiOPENSHARED, xltFIELD, 0, nullptr, &cur),
                  DBIERR_NONE);
        std::vector<uint8_t> record(512);
        std::vector<std::string> values;
        while (Dbi().DbiGetNextRecord(cur, dbiNOLOCK, record.data(), nullptr) == DBIERR_NONE) {
            uint32_t size = 0, read = 0;
            EXPECT_EQ(Dbi().DbiGetBlobSize(cur, record.data(), 9, &size), DBIERR_NONE);
            std::string value(size, '\0');
            EXPECT_EQ(Dbi().DbiGetBlob(cur, record.data(), 9, 0, size, value.data(), &read),
                      DBIERR_NONE);
            EXPECT_EQ(read, size);
            values.push_back(value);
        }
        Dbi().DbiCloseCursor(&cur);
        return values;
    };
    std::vector<std::string> before = memos();
    ASSERT_EQ(before.size(), 20u);
    EXPECT_EQ(before[0].rfind("Small comment", 0), 0u);
    EXPECT_EQ(before[1].size(), 518u);
    EXPECT_EQ(before[3].size(), 56864u);
    EXPECT_EQ(before[3].rfind(" The PARADOX File Structure", 0), 0u);
    EXPECT_EQ(before[5], "");

    hDBICur cur = 0;
    ASSERT_EQ(Dbi().DbiOpenTable(db, "CUSTOMER.DB", "PARADOX", nullptr, nullptr, 0, dbiREADWRITE,
                                 dbiOPENEXCL, xltNONE, 0, nullptr, &cur),
              DBIERR_NONE);
    std::vector<FLDDesc> fields(10);
    Dbi().DbiGetFieldDescs(cur, fields.data());
    AppendFieldRequest request(std::move(fields), Field("RealRepNum", fldZSTRING, 12),
                               "CUSTOMER.DB");
    Dbi().DbiCloseCursor(&cur);
    ASSERT_EQ(Dbi().DbiDoRestructure(db, 1, request.Desc(), nullptr, nullptr, nullptr, 0),
              DBIERR_NONE);
    EXPECT_EQ(memos(), before);
    Dbi().DbiCloseDatabase(&db);
    Dbi().DbiExit();
}

} // namespace
