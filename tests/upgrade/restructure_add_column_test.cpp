// Appending a column to one table through the table layer and the real engine.
#include "column_desc.h"
#include "engine_folder.h"
#include "file_bytes.h"
#include "tables/bde.h"
#include "tables/database.h"
#include "tables/database_error.h"
#include "tables/engine_error.h"
#include "tables/session.h"
#include "tables/table.h"
#include "upgrade/restructure_add_column.h"
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <windows.h>

namespace {

using ::testing::ElementsAre;

std::unique_ptr<EngineFolder> engineFolder;

class EngineFolderEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { engineFolder = std::make_unique<EngineFolder>(ENGINE_DLL); }
    void TearDown() override { engineFolder.reset(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EngineFolderEnvironment);

NewColumnDesc NewColumn(const char* name, uint16_t type, int16_t size) {
    NewColumnDesc desc{};
    std::strncpy(desc.name, name, sizeof desc.name - 1);
    desc.fldType = type;
    desc.units1 = size;
    return desc;
}

// Each test gets a keyed table of its own with two rows, so that no test sees another's columns.
class RestructureAddColumnTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        name_ = std::string(info->name()) + ".DB";
        TDatabase* db = Session->OpenDatabase("PROFILEDATA");
        FLDDesc columns[] = {ColumnDesc("Id", fldINT32), ColumnDesc("Name", fldZSTRING, 20)};
        CRTblDesc desc{};
        std::strcpy(desc.szTblName, name_.c_str());
        std::strcpy(desc.szTblType, "PARADOX");
        desc.iFldCount = 2;
        desc.pfldDesc = columns;
        CheckStatus(bde::DbiCreateTable(db->Handle(), 0, &desc));
        Session->CloseDatabase(db);
        table_.SetName("tSubject");
        table_.SetDatabaseName("PROFILEDATA");
        table_.SetTableName(name_);
    }
    void TearDown() override { table_.CloseTable(); }

    std::string TableFile() const { return engineFolder->DataFolder() + "\\" + name_; }

    std::vector<std::string> FieldNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < table_.ColumnCount(); ++i)
            names.push_back(table_.Fields(i)->FieldName());
        return names;
    }

    template <class E> E Raised(const NewColumnDesc& desc) {
        try {
            RestructureAddColumn(&table_, desc);
        } catch (const E& e) {
            return e;
        }
        throw std::logic_error("nothing was raised");
    }

    std::string name_;
    TTable table_{nullptr};
};

// Each column goes after all others, numbered n + 1; the engine sizes the integer columns.
TEST_F(RestructureAddColumnTest, AppendsOneColumnAtATimeAndReopensExclusively) {
    table_.SetExclusive(true);
    table_.OpenTable();
    const struct {
        const char* name;
        uint16_t type;
        int16_t size;
        int expectedSize;
    } columns[] = {{"Mail_Street", fldZSTRING, 120, 120},
                   {"Flag", fldZSTRING, 1, 1},
                   {"EIN", fldINT32, 0, 0},
                   {"Truck_Units", fldINT16, 3, 0}};
    for (const auto& c : columns) {
        RestructureAddColumn(&table_, NewColumn(c.name, c.type, c.size));
        ASSERT_TRUE(table_.Active());
        EXPECT_TRUE(table_.Exclusive());
        const TField* added = table_.Fields(table_.ColumnCount() - 1);
        EXPECT_EQ(added->FieldName(), c.name);
        EXPECT_EQ(added->FieldNo(), table_.ColumnCount());
        EXPECT_EQ(added->DataType(), c.type);
        EXPECT_EQ(added->Size(), c.expectedSize) << c.name;
    }
    EXPECT_THAT(FieldNames(),
                ElementsAre("Id", "Name", "Mail_Street", "Flag", "EIN", "Truck_Units"));
}

// The preconditions are checked before anything is asked of the engine: no prefix, no change.
TEST_F(RestructureAddColumnTest, ClosedOrSharedTableIsRefusedAndLeftAsItWas) {
    const std::string before = FileBytes(TableFile());

    auto closed = Raised<EDatabaseError>(NewColumn("EIN", fldINT32, 0));
    EXPECT_EQ(closed.Message(), "Table must be opened to restructure");
    EXPECT_FALSE(table_.Active());

    table_.OpenTable();
    auto shared = Raised<EDatabaseError>(NewColumn("EIN", fldINT32, 0));
    EXPECT_EQ(shared.Message(), "Table must be opened exclusively to restructure");
    EXPECT_TRUE(table_.Active());
    EXPECT_FALSE(table_.Exclusive());
    EXPECT_THAT(FieldNames(), ElementsAre("Id", "Name"));

    table_.CloseTable();
    EXPECT_EQ(FileBytes(TableFile()), before);
}

// The engine's refusal reaches the caller, and the table is open again with its old columns.
TEST_F(RestructureAddColumnTest, RefusedRestructureReopensTheTableUnchanged) {
    const std::string before = FileBytes(TableFile());
    table_.SetExclusive(true);
    table_.OpenTable();

    auto e = Raised<EDBEngineError>(NewColumn("NAME", fldZSTRING, 10));
    EXPECT_GE(e.ErrorCount(), 1);
    EXPECT_TRUE(table_.Active());
    EXPECT_TRUE(table_.Exclusive());
    EXPECT_THAT(FieldNames(), ElementsAre("Id", "Name"));

    table_.CloseTable();
    EXPECT_EQ(FileBytes(TableFile()), before);
}

} // namespace
