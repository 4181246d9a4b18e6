// The build step's side of the line table: the record forms it picks, and the units it makes
// of optimised code, read back by the lookup.
#include "line_records.h"
#include "line_table_writer.h"
#include "line_units.h"
#include "reporter/diagnostics/debug_formats/line_table_lookup.h"
#include "reporter/diagnostics/debug_formats/line_table_records.h"
#include "reporter/diagnostics/debug_formats/module_password.h"
#include "table_fixture.h"
#include <gtest/gtest.h>

namespace {

// Each step pair in the smallest form that holds it, and read back as written.
TEST(LineTableBuild, RecordsRoundTripInTheSmallestForm) {
    const struct {
        uint32_t line;
        uint32_t address;
        bool opens;
        size_t size;
    } cases[] = {
        {1, 1, false, 1},    {4, 32, false, 1},        {5, 1, false, 2},
        {1, 33, false, 2},   {32, 128, false, 2},      {33, 1, false, 4},
        {1, 129, false, 4},  {65536, 4095, false, 4},  {65535, 4095, false, 8},
        {1, 4096, false, 8}, {65536, 65536, false, 8}, {8, 8, true, 1},
        {9, 1, true, 2},     {1, 9, true, 2},          {32, 128, true, 2},
        {1, 0, true, 4},     {65536, 0, true, 4},      {65536, 65536, true, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.line << " " << c.address << " " << c.opens);
        ByteWriter out;
        WriteLineRecord(out, c.line, c.address, c.opens);
        EXPECT_EQ(out.Data().size(), c.size);
        const TByteView view(out.Data());
        size_t at = 0;
        const TLineRecord read = ReadLineRecord(view, at, 6024);
        EXPECT_EQ(at, c.size);
        EXPECT_EQ(read.LineStep, c.line);
        EXPECT_EQ(read.AddressStep, c.address);
        EXPECT_EQ(read.OpensProcedure, c.opens);
    }
}

constexpr uint32_t kImageBase = 0x400000;
constexpr uint32_t kCode = kImageBase + 0x1000;

LineEntry Entry(uint32_t begin, uint32_t end, uint32_t file, uint32_t line, int32_t procedure,
                bool entry = false) {
    return {kCode + begin, kCode + end, file, line, procedure, entry};
}

// Optimised code: lines go back, a procedure begins on the line the one before ends on, and
// code of another file follows. Each stretch whose lines go up becomes a unit; one that
// begins inside a procedure counts its lines from the procedure's first line all the same.
TEST(LineTableBuild, UnitsKeepLinesAndProceduresOfOptimisedCode) {
    const std::vector<std::string> files = {"", "task.cpp", "helpers.h"};
    const std::vector<DwarfProcedure> procedures = {{"TTask", "Run", {}}, {"TTask", "Stop", {}}};
    const std::vector<LineUnit> units = LineUnits({
        Entry(0x00, 0x04, 1, 10, 0, true),
        Entry(0x04, 0x10, 1, 12, 0),
        Entry(0x10, 0x14, 1, 11, 0),
        Entry(0x14, 0x20, 1, 13, 0),
        Entry(0x20, 0x28, 1, 13, 1, true),
        Entry(0x28, 0x30, 2, 5, 1),
    });
    EXPECT_EQ(units.size(), 4u);

    TTableFixture fixture;
    TVessarModuleInfo module = fixture.Module();
    module.LineTable = LineTableWriter(files, procedures, "", kImageBase).Write(units);
    // The fake code begins with neither a frame nor a saved EBX: every start counts one lower.
    const struct {
        uint32_t offset;
        const char* unit;
        const char* procedure;
        int32_t line;
        int32_t procLine;
    } cases[] = {
        {0x00, "task.cpp", "Run", 10, 1},  {0x0F, "task.cpp", "Run", 12, 3},
        {0x10, "task.cpp", "Run", 11, 2},  {0x1F, "task.cpp", "Run", 13, 4},
        {0x20, "task.cpp", "Stop", 13, 1}, {0x2C, "helpers.h", "Stop", 5, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "offset 0x" << std::hex << c.offset);
        const TVessarDebugInfo info = LocateOffset(module, fixture, c.offset);
        EXPECT_EQ(info.Unit, c.unit);
        EXPECT_EQ(info.ClassName, "TTask");
        EXPECT_EQ(info.Procedure, c.procedure);
        EXPECT_EQ(info.Line, c.line);
        EXPECT_EQ(info.ProcLine, c.procLine);
    }
    EXPECT_EQ(LocateOffset(module, fixture, 0x30).Detail, kDetailNothing);
}

// With a password the names come out only when the module is given the same one.
TEST(LineTableBuild, PasswordEnciphersEveryName) {
    const std::vector<std::string> files = {"", "secret.cpp"};
    const std::vector<DwarfProcedure> procedures = {{"TVault", "Open", {}}};
    const std::vector<LineUnit> units = LineUnits({Entry(0, 8, 1, 3, 0, true)});
    const std::vector<uint8_t> table =
        LineTableWriter(files, procedures, "k3y", kImageBase).Write(units);
    const std::string bytes(table.begin(), table.end());
    EXPECT_EQ(bytes.find("secret"), std::string::npos);
    EXPECT_EQ(bytes.find("Vault"), std::string::npos);

    TTableFixture fixture;
    TVessarModuleInfo module = fixture.Module();
    module.LineTable = table;
    SetModulePassword(module, "k3y");
    const TVessarDebugInfo info = LocateOffset(module, fixture, 4);
    EXPECT_EQ(info.Unit, "secret.cpp");
    EXPECT_EQ(info.ClassName, "TVault");
    EXPECT_EQ(info.Procedure, "Open");
}

} // namespace
