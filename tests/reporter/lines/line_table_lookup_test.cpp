// The lookup in hand-made line tables: every record form, names in all their forms, the line
// offset within the procedure, the crash reporter's own units and the older table versions.
#include "reporter/base/base64.h"
#include "reporter/diagnostics/debug_formats/hidden_units.h"
#include "reporter/diagnostics/debug_formats/kfdata_container.h"
#include "reporter/diagnostics/debug_formats/kfdata_password.h"
#include "reporter/diagnostics/debug_formats/line_table_lookup.h"
#include "reporter/diagnostics/debug_formats/module_own_data.h"
#include "reporter/diagnostics/debug_formats/module_password.h"
#include "table_fixture.h"
#include <gtest/gtest.h>

namespace {

struct TExpected {
    uint32_t offset;
    int32_t line; // 0: no unit holds the offset
    const char* className;
    const char* procedure;
};

void ExpectLocations(const TVessarModuleInfo& module, const TTableFixture& fixture,
                     const std::vector<TExpected>& cases) {
    for (const auto& c : cases) {
        const TVessarDebugInfo info = LocateOffset(module, fixture, c.offset);
        SCOPED_TRACE(testing::Message() << "offset 0x" << std::hex << c.offset);
        if (c.line == 0) {
            EXPECT_EQ(info.Detail, kDetailNothing);
            continue;
        }
        EXPECT_EQ(info.Detail, kDetailLine);
        EXPECT_EQ(info.Line, c.line);
        EXPECT_EQ(info.ClassName, c.className);
        EXPECT_EQ(info.Procedure, c.procedure);
        EXPECT_EQ(info.Addr, uint32_t(uintptr_t(fixture.Address(c.offset))));
    }
}

// From line 10 at 0x100: each record's line covers its address step, the last line the rest.
TEST(LineTableLookup, EveryRecordFormStepsLineAndAddress) {
    TTableFixture fixture;
    TRecords records;
    records.Byte(0x48);                       // one byte: line +2, address +5
    records.Byte(0x4D).Name(Stored("Alpha")); // one byte, opening: line +3, address +4
    records
        .Word(0x9E37) // 16 bits, opening: line +20, address +100
        .NamePart(Stored("TBox"))
        .Name(Stored("Beta"));
    records.Long(0xBB703E7B); // 32 bits: line +1000, address +3000
    records
        .Long(0xFFF0004F) // 32 bits, opening: line +5, no code
        .NamePart("")
        .Name(Stored("Gamma"));                       // ".Gamma": the class before goes on
    records.Long(0xFFEFFFEB).Word(39999).Word(49999); // escape: line +40000, address +50000
    fixture.AddUnit(Stored("Forms"), 10, 0x100, 53119, records);
    const TVessarModuleInfo module = fixture.Module();

    ExpectLocations(module, fixture,
                    {
                        {0xFF, 0, "", ""},
                        {0x100, 10, "", ""},
                        {0x104, 10, "", ""},
                        {0x105, 12, "", "Alpha"},
                        {0x108, 12, "", "Alpha"},
                        {0x109, 15, "TBox", "Beta"},
                        {0x16C, 15, "TBox", "Beta"},
                        {0x16D, 35, "TBox", "Beta"},
                        {0xD24, 35, "TBox", "Beta"},
                        {0xD25, 1040, "TBox", "Gamma"},
                        {0xD074, 1040, "TBox", "Gamma"},
                        {0xD075, 41040, "TBox", "Gamma"},
                        {0xD07E, 41040, "TBox", "Gamma"},
                        {0xD07F, 0, "", ""},
                    });
    EXPECT_EQ(LocateOffset(module, fixture, 0x100).Unit, "Forms.cpp");
    EXPECT_EQ(LocateOffset(module, fixture, 0x100).ProcLine, 0); // no procedure yet
}

// The line table's first units do not hold the address: the lookup reads on to the one that
// does, and a unit name with an extension keeps it.
TEST(LineTableLookup, SkipsUnitsUntilOneHoldsTheAddress) {
    TTableFixture fixture;
    fixture.AddUnit(Stored("first.h"), 1, 0x000, 0x10, TRecords().Byte(0x4D).Name(Stored("A")));
    fixture.AddUnit(Stored("second.c"), 50, 0x010, 0x10,
                    TRecords().Byte(0x4D).NamePart(Stored("TOuter::TInner")).Name(Stored("@B")));
    const TVessarDebugInfo info = LocateOffset(fixture.Module(), fixture, 0x015);
    EXPECT_EQ(info.Unit, "second.c");
    EXPECT_EQ(info.ClassName, "TOuter::TInner");
    EXPECT_EQ(info.Procedure, "_B");
    EXPECT_EQ(info.Line, 53);
}

// Line 100, procedure opened there, address 0x2003 on line 103: the start line counts one
// lower unless the code begins with a stack frame (55 8B EC) or saves EBX (53), the unit
// initialisation keeps it, the finalisation always lowers it.
TEST(LineTableLookup, ProcLineCountsFromTheProcedureStart) {
    const struct {
        const char* procedure;
        std::vector<uint8_t> code;
        int32_t onFirstLine;
        int32_t threeLinesOn;
    } cases[] = {
        {"Work", {0x55, 0x8B, 0xEC}, 0, 3},         {"Work", {0x53, 0x56}, 0, 3},
        {"Work", {0x55, 0x89, 0xE5}, 1, 4},         {"Initialization", {0x90}, 0, 3},
        {"Finalization", {0x55, 0x8B, 0xEC}, 1, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.procedure);
        TTableFixture fixture;
        fixture.SetCode(0x2000, c.code);
        fixture.AddUnit(Stored("Rules"), 100, 0x2000, 0x20,
                        TRecords().Byte(0x5D).Name(Stored(c.procedure))); // line +3, address +8
        const TVessarModuleInfo module = fixture.Module();
        EXPECT_EQ(LocateOffset(module, fixture, 0x2000).ProcLine, c.onFirstLine);
        const TVessarDebugInfo later = LocateOffset(module, fixture, 0x2010);
        EXPECT_EQ(later.Line, 103);
        EXPECT_EQ(later.ProcLine, c.threeLinesOn);
    }
}

// Names are deciphered with the module's password; when it does not fit the check word they
// are shown as "?" and the Base64 text of their bytes, units as "?p".
TEST(LineTableLookup, NamesNeedTheRightPassword) {
    TTableFixture fixture;
    const std::string unit = Stored("Main", "pw");
    const std::string className = Stored("TForm", "pw");
    const std::string procedure = Stored("ButtonClick", "pw");
    fixture.AddUnit(unit, 1, 0, 0x10, TRecords().Byte(0x4D).NamePart(className).Name(procedure));
    TVessarModuleInfo module = fixture.Module();
    module.PasswordCheck = PasswordCheckValue("pw");

    SetModulePassword(module, "pw");
    TVessarDebugInfo info = LocateOffset(module, fixture, 0);
    EXPECT_EQ(info.Unit, "Main.cpp");
    EXPECT_EQ(info.ClassName, "TForm");
    EXPECT_EQ(info.Procedure, "ButtonClick");

    SetModulePassword(module, "Pw");
    EXPECT_FALSE(module.PasswordFits);
    info = LocateOffset(module, fixture, 0);
    EXPECT_EQ(info.Detail, kDetailLine);
    EXPECT_EQ(info.Unit, "?p" + Base64Encode(unit));
    EXPECT_EQ(info.ClassName, "?" + Base64Encode(className));
    EXPECT_EQ(info.Procedure, "?" + Base64Encode(procedure));
}

// The crash reporter's own units show the module alone, unless it reports its own failure.
TEST(LineTableLookup, ReporterUnitsAreHiddenUnlessItReportsItself) {
    for (const char* name : {"locate_address.cpp", "Modules_List.CPP"}) {
        SCOPED_TRACE(name);
        TTableFixture fixture;
        fixture.AddUnit(Stored(name), 20, 0, 0x10,
                        TRecords().Byte(0x4D).Name(Stored("LocateAddress")));
        const TVessarModuleInfo module = fixture.Module();

        TVessarDebugInfo hidden = LocateOffset(module, fixture, 0);
        EXPECT_EQ(hidden.Detail, kDetailModule);
        EXPECT_TRUE(hidden.Unit.empty() && hidden.Procedure.empty());
        EXPECT_EQ(hidden.Line, 0);

        SetReportingOwnFailure(true);
        const TVessarDebugInfo shown = LocateOffset(module, fixture, 0);
        SetReportingOwnFailure(false);
        EXPECT_EQ(shown.Detail, kDetailLine);
        EXPECT_EQ(shown.Unit, name);
        EXPECT_EQ(shown.Procedure, "LocateAddress");
    }
}

std::string Masked(std::string text) {
    for (char& c : text)
        c = char(c ^ 0xA7);
    return text;
}

// Before version 500 names are masked with a fixed byte; versions 405 to 499 lead with a block
// of their own; the escape to two 16-bit steps exists from version 423 on (before, its word
// holds line +65535 and address +4095).
TEST(LineTableLookup, OlderVersionsReadAsTheyWereWritten) {
    const struct {
        int version;
        bool leadingBlock;
        int32_t line;
    } cases[] = {{404, false, 7}, {422, true, 7}, {423, true, 8}, {499, true, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        TTableFixture fixture;
        fixture.AddUnit(Masked("Old"), 7, 0x400, 200,
                        TRecords().Long(0xFFEFFFEB).Word(0).Word(0)); // line +1, address +1
        const TVessarModuleInfo module =
            fixture.Module(c.version, c.leadingBlock ? "not read" : "");
        const TVessarDebugInfo info = LocateOffset(module, fixture, 0x464);
        EXPECT_EQ(info.Unit, "Old.cpp");
        EXPECT_EQ(info.Line, c.line);
    }
}

// A container of version 600 is one of version 6000: names have parts and are enciphered.
TEST(LineTableLookup, Version600CountsAs6000) {
    TTableFixture fixture;
    fixture.AddUnit(Stored("Unit6"), 1, 0, 8,
                    TRecords().Byte(0x4D).NamePart(Stored("TA")).Name(Stored("B")));
    TKFDataContainer written;
    written.PasswordCheck = PasswordCheckValue(""); // as the build step writes it
    std::vector<uint8_t> resource = WriteKFData(written);
    resource[4] = 600 & 0xFF; // the version field
    resource[5] = 600 >> 8;
    TKFModuleData data;
    data.Container = ReadKFData(resource);
    data.LineTable = fixture.Module().LineTable;
    TVessarModuleInfo module = fixture.Module();
    AttachOwnDebugData(module, data);
    EXPECT_EQ(module.DebugDataVersion, 6000);
    const TVessarDebugInfo info = LocateOffset(module, fixture, 0);
    EXPECT_EQ(info.ClassName, "TA");
    EXPECT_EQ(info.Procedure, "B");
}

TEST(LineTableLookup, DamagedTableRaises) {
    TTableFixture fixture;
    fixture.AddUnit(Stored("Cut"), 1, 0, 0x10, TRecords().Byte(0x4D).Name(Stored("Proc")));
    TVessarModuleInfo module = fixture.Module();
    module.LineTable.resize(module.LineTable.size() - 3);
    TVessarDebugInfo info;
    EXPECT_THROW(LocateInLineTable(module, fixture.Address(0), info), EStreamReadError);
}

} // namespace
