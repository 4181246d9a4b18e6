// The table component against the real engine, in a scratch engine folder.
#include "column_desc.h"
#include "engine_folder.h"
#include "tables/bde.h"
#include "tables/database.h"
#include "tables/engine_error.h"
#include "tables/pv_table.h"
#include "tables/session.h"
#include "tables/tables_unit.h"
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <windows.h>

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string dataFolder;

void CreateTable(hDBIDb db, const char* name, const char* password = nullptr) {
    FLDDesc columns[] = {ColumnDesc("Id", fldINT32), ColumnDesc("Name", fldZSTRING, 20),
                         ColumnDesc("Mail_City", fldZSTRING, 25)};
    CRTblDesc desc{};
    std::strcpy(desc.szTblName, name);
    std::strcpy(desc.szTblType, "PARADOX");
    desc.iFldCount = 3;
    desc.pfldDesc = columns;
    if (password) {
        desc.bProtected = 1;
        std::strcpy(desc.szPassword, password);
    }
    CheckStatus(bde::DbiCreateTable(db, 0, &desc));
}

// Whether the binding still holds the engine library.
bool EngineBound() {
    hDBISes session = 0;
    return bde::DbiGetCurrSession(&session) != DBIERR_CANNOTLOADLIB;
}

class SubjectTables : public ::testing::Environment {
  public:
    void SetUp() override {
        folder_ = std::make_unique<EngineFolder>(ENGINE_DLL);
        dataFolder = folder_->DataFolder();
        TDatabase* db = Session->OpenDatabase("PROFILEDATA");
        CreateTable(db->Handle(), "Subject.DB");
        CreateTable(db->Handle(), "Locked.DB", "secret");
        Session->CloseDatabase(db);
        // Opening a folder is refused for writing and for reading alike.
        CreateDirectoryA((dataFolder + "\\Folder.DB").c_str(), nullptr);
    }
    void TearDown() override {
        folder_.reset();
        EXPECT_FALSE(EngineBound()) << "the engine outlived its session";
    }

  private:
    std::unique_ptr<EngineFolder> folder_;
};

const auto* const kEngineFolder = ::testing::AddGlobalTestEnvironment(new SubjectTables);

std::unique_ptr<TTable> Table(const char* name, const char* database, const char* table) {
    auto t = std::make_unique<TTable>(nullptr);
    t->SetName(name);
    t->SetDatabaseName(database);
    t->SetTableName(table);
    return t;
}

std::vector<std::string> FieldNames(const TTable& t) {
    std::vector<std::string> names;
    for (int i = 0; i < t.ColumnCount(); ++i)
        names.push_back(t.Fields(i)->FieldName());
    return names;
}

template <class E, class Action> E Raised(Action action) {
    try {
        action();
    } catch (const E& e) {
        return e;
    }
    throw std::logic_error("nothing was raised");
}

TEST(TableOpenClose, FieldsExistExactlyWhileOpen) {
    auto t = Table("tSubject", "PROFILEDATA", "Subject.DB");
    t->CloseTable();
    EXPECT_EQ(t->ColumnCount(), 0);
    EXPECT_EQ(t->LookupField("Name"), nullptr);

    t->OpenTable();
    ASSERT_TRUE(t->Active());
    EXPECT_NE(t->Handle(), 0u);
    EXPECT_THAT(FieldNames(*t), ::testing::ElementsAre("Id", "Name", "Mail_City"));
    EXPECT_EQ(t->LookupField("mail_city"), t->Fields(2));
    EXPECT_EQ(t->LookupField("NAME"), t->Fields(1));
    EXPECT_EQ(t->LookupField("Mail_Street"), nullptr);
    EXPECT_TRUE(t->CanModify());

    const hDBICur cursor = t->Handle();
    const TField* first = t->Fields(0);
    t->OpenTable();
    EXPECT_EQ(t->Handle(), cursor);
    EXPECT_EQ(t->Fields(0), first);

    t->CloseTable();
    t->CloseTable();
    EXPECT_FALSE(t->Active());
    EXPECT_EQ(t->Handle(), 0u);
    EXPECT_EQ(t->ColumnCount(), 0);
    EXPECT_EQ(t->LookupField("Name"), nullptr);
    EXPECT_EQ(t->Database(), nullptr);
}

TEST(TableOpenClose, DatabaseNamesDifferingInCaseShareOneKeptConnection) {
    auto upper = Table("tSubject", "PROFILEDATA", "Subject.DB");
    TpvTable mixed(nullptr);
    mixed.SetDatabaseName("ProfileData");
    mixed.SetTableName("Subject.DB");
    upper->OpenTable();
    mixed.OpenTable();
    TDatabase* db = upper->Database();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(mixed.Database(), db);
    EXPECT_EQ(db->RefCount(), 2);
    EXPECT_EQ(Session->DatabaseCount(), 1);

    upper->CloseTable();
    mixed.CloseTable();
    EXPECT_EQ(db->RefCount(), 0);
    EXPECT_TRUE(db->Connected());
    EXPECT_EQ(Session->FindDatabase("profiledata"), db);
}

// Refused for writing, the open is tried read-only once, and the refusal of that one ends it.
TEST(TableOpenClose, NoRightsEvenToReadEndsTheOpen) {
    auto t = Table("tFolder", "PROFILEDATA", "Folder.DB");
    auto e = Raised<EDBEngineError>([&] { t->OpenTable(); });
    ASSERT_GE(e.ErrorCount(), 1);
    EXPECT_EQ(e.Errors(0).ErrorCode, DBIERR_NOTSUFFTABLERIGHTS);
    EXPECT_FALSE(t->Active());
}

TEST(TableExclusive, SettingItOnAnOpenTableRaisesAndKeepsTheFlag) {
    auto t = Table("tSubject", "PROFILEDATA", "Subject.DB");
    t->OpenTable();
    auto e = Raised<EDatabaseError>([&] { t->SetExclusive(true); });
    EXPECT_EQ(e.Message(), "tSubject: Cannot perform this operation on an open dataset");
    EXPECT_FALSE(t->Exclusive());
    EXPECT_TRUE(t->Active());
}

const char* const kInUse = "Table is in use by another user or program.";

void ExpectExclusiveOpenRefused(TTable& t) {
    t.SetExclusive(true);
    auto e = Raised<EDBEngineError>([&] { t.OpenTable(); });
    EXPECT_THAT(e.Message(), StartsWith(kInUse));
    EXPECT_THAT(e.Message(), HasSubstr("Subject.DB"));
    EXPECT_FALSE(t.Active());
    EXPECT_EQ(t.Handle(), 0u);
    EXPECT_TRUE(t.Exclusive());
}

TEST(TableExclusive, RefusedWhileAnotherCursorHasTheTable) {
    auto shared = Table("tShared", "PROFILEDATA", "Subject.DB");
    auto exclusive = Table("tSubject", "PROFILEDATA", "Subject.DB");
    shared->OpenTable();
    ExpectExclusiveOpenRefused(*exclusive);
    shared->CloseTable();
    exclusive->OpenTable();
    EXPECT_TRUE(exclusive->Active());
}

// Another program holding the table: pdxtool keeps it open until it is ended.
class OtherProcessHold {
  public:
    OtherProcessHold(const std::string& folder, const char* table) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE write = nullptr;
        CreatePipe(&read_, &write, &inherit, 0);
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = write;
        std::string command = std::string("pdxtool hold \"") + folder + "\" " + table + " 120000";
        started_ = CreateProcessA(PDXTOOL, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &process_);
        CloseHandle(write);
    }
    ~OtherProcessHold() {
        if (started_) {
            TerminateProcess(process_.hProcess, 0);
            WaitForSingleObject(process_.hProcess, 10000);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
        CloseHandle(read_);
    }
    OtherProcessHold(const OtherProcessHold&) = delete;
    OtherProcessHold& operator=(const OtherProcessHold&) = delete;

    // True once the other process reports that it holds the table.
    bool Holding() {
        std::string output;
        char chunk[64];
        DWORD got = 0;
        while (started_ && output.find("held") == std::string::npos &&
               ReadFile(read_, chunk, sizeof chunk, &got, nullptr) && got > 0)
            output.append(chunk, got);
        return output.find("held") != std::string::npos;
    }

  private:
    HANDLE read_ = nullptr;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

TEST(TableExclusive, RefusedWhileAnotherProcessHasTheTable) {
    OtherProcessHold other(dataFolder, "Subject.DB");
    ASSERT_TRUE(other.Holding());
    auto t = Table("tSubject", "PROFILEDATA", "Subject.DB");
    ExpectExclusiveOpenRefused(*t);
}

struct FailedOpen {
    const char* name;
    const char* component;
    const char* database;
    const char* table;
    const char* firstLine;
    const char* mentions;
};

const FailedOpen kFailedOpens[] = {
    {"MissingTable", "tCrashes", "PROFILEDATA", "Missing.DB", "Table does not exist.",
     "Missing.DB"},
    {"UnknownAlias", "tCrashes", "NOALIAS", "Subject.DB", "Unknown database alias.", "NOALIAS"},
    {"NoTableName", "tCrashes", "PROFILEDATA", "", "tCrashes: Missing TableName property", ""},
    {"NoTableNameUnnamed", "", "PROFILEDATA", "", "Missing TableName property", ""},
};

class TableOpenFailure : public ::testing::TestWithParam<FailedOpen> {};

// The engine's own texts reach the message; a failed open leaves no cursor and no connection
// behind.
TEST_P(TableOpenFailure, ReportsAndLeavesNothingOpen) {
    const FailedOpen& c = GetParam();
    auto t = Table(c.component, c.database, c.table);
    const int databases = Session->DatabaseCount();
    auto e = Raised<EDatabaseError>([&] { t->OpenTable(); });
    EXPECT_EQ(e.Message().substr(0, e.Message().find('\r')), c.firstLine);
    EXPECT_THAT(e.Message(), HasSubstr(c.mentions));
    EXPECT_FALSE(t->Active());
    EXPECT_EQ(t->Handle(), 0u);
    EXPECT_EQ(t->Database(), nullptr);
    EXPECT_EQ(Session->DatabaseCount(), databases);
}

INSTANTIATE_TEST_SUITE_P(Cases, TableOpenFailure, ::testing::ValuesIn(kFailedOpens),
                         [](const auto& info) { return std::string(info.param.name); });

class TablePassword : public ::testing::Test {
  protected:
    void TearDown() override {
        Session->OnPassword = nullptr;
        Session->RemoveAllPasswords();
    }
};

TEST_F(TablePassword, WithoutAnAnswerTheOpenFails) {
    auto t = Table("tLocked", "PROFILEDATA", "Locked.DB");
    auto e = Raised<EDBEngineError>([&] { t->OpenTable(); });
    ASSERT_GE(e.ErrorCount(), 1);
    EXPECT_EQ(e.Errors(0).ErrorCode, DBIERR_INVALIDPASSWORD);
    EXPECT_FALSE(t->Active());
}

TEST_F(TablePassword, AsksAgainUntilTheSessionHoldsThePassword) {
    int asked = 0;
    Session->OnPassword = [&](TSession& session, bool& continueOpen) {
        if (++asked == 2)
            session.AddPassword("secret");
        continueOpen = true;
    };
    auto t = Table("tLocked", "PROFILEDATA", "Locked.DB");
    t->OpenTable();
    EXPECT_TRUE(t->Active());
    EXPECT_EQ(asked, 2);
}

TEST(SessionEnd, ClosesItsTablesAndLetsTheEngineGo) {
    auto t = Table("tSubject", "PROFILEDATA", "Subject.DB");
    t->OpenTable();
    Session->Close();
    EXPECT_FALSE(t->Active());
    EXPECT_EQ(t->ColumnCount(), 0);
    EXPECT_EQ(Session->DatabaseCount(), 0);
    EXPECT_FALSE(EngineBound());

    t->OpenTable();
    EXPECT_TRUE(Session->Active());
    EXPECT_EQ(t->ColumnCount(), 3);
}

} // namespace
