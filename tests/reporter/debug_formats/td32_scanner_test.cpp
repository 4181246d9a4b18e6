// TD32 debug data: lookups, readable procedure names, and data that must be refused.
#include "fixture_bytes.h"
#include "reporter/diagnostics/debug_formats/location_fill.h"
#include "reporter/diagnostics/debug_formats/reader_source.h"
#include "reporter/diagnostics/debug_formats/td32_names.h"
#include "reporter/diagnostics/debug_formats/td32_scanner.h"
#include "td32_writer.h"
#include <gtest/gtest.h>

namespace {

TTd32Fixture Fixture() {
    TTd32Fixture fixture;
    fixture.Units = {{"alpha", 0, 0x100}, {"Beta", 0x101, 0xFF}};
    fixture.Procedures = {{"@Alpha@TThing@Paint$qqrv", 0x10, 0x30},
                          {"@Alpha@@Helper$qqrp7TObject", 0x40, 0x10},
                          {"PlainProc", 0x108, 8}};
    fixture.Sources = {{"C:\\src\\Alpha.pas", 0, 0x101, {{0x10, 10}, {0x18, 11}, {0x40, 20}}},
                       {"Beta.pas", 0x101, 0x200, {{0x108, 30}, {0x110, 31}}}};
    return fixture;
}

TEST(TD32Scanner, AnswersEveryQuestionByOffset) {
    const std::vector<uint8_t> data = WriteTd32(Fixture());
    const TKFTD32InfoScanner td32{TByteView(data)};
    ASSERT_TRUE(td32.ValidData());
    EXPECT_EQ(td32.UnitAt(0x20), "alpha");
    EXPECT_EQ(td32.UnitAt(0x100), "alpha"); // a segment's last offset plus one still counts
    EXPECT_EQ(td32.UnitStartAt(0x180), 0x101u);
    EXPECT_EQ(td32.UnitAt(0x201), "");

    const TKFProcAt paint = td32.ProcAt(0x12);
    EXPECT_EQ(paint.Name, "TThing.Paint");
    EXPECT_EQ(paint.Offset, 2u);
    EXPECT_EQ(td32.ProcAt(0x44).Name, "@Helper");
    EXPECT_EQ(td32.ProcAt(0x10A).Name, "PlainProc");
    EXPECT_EQ(td32.ProcAt(0x110).Name, ""); // just past PlainProc's end

    EXPECT_EQ(td32.SourceAt(0x100), "C:\\src\\Alpha.pas");
    EXPECT_EQ(td32.SourceAt(0x101), "Beta.pas");
    struct TCase {
        uint32_t Offset;
        int32_t Line;
        uint32_t LineOffset;
    };
    for (const TCase& c : {TCase{0x18, 11, 0}, TCase{0x1C, 11, 4}, TCase{0x08, 0, 0},
                           TCase{0x44, 0, 0}, TCase{0x10C, 30, 4}}) {
        const TKFLineAt line = td32.LineAt(c.Offset);
        EXPECT_EQ(line.Line, c.Line) << c.Offset;
        EXPECT_EQ(line.Offset, c.LineOffset) << c.Offset;
    }
}

TEST(TD32Scanner, ProcedureOfTheRuntimeShownWithUnderscore) {
    const std::vector<uint8_t> data = WriteTd32(Fixture());
    const TKFTD32InfoScanner td32{TByteView(data)};
    TKFLocationInfo location;
    ASSERT_TRUE(LocateInReader(td32, 0x48, location));
    TVessarDebugInfo info;
    FillFromLocation(location, info);
    EXPECT_EQ(info.Unit, "Alpha.pas");
    EXPECT_EQ(info.Procedure, "_Helper");
    EXPECT_EQ(info.Detail, kDetailUnit); // past the last line of the file: no line
}

TEST(TD32Names, MangledNamesMadeReadable) {
    struct TCase {
        const char* Name;
        const char* Unit;
        const char* Readable;
    };
    for (const TCase& c :
         {TCase{"@Unit1@TForm1@Click$qqrp14System@TObject", "UNIT1", "TForm1.Click"},
          TCase{"@System@@HandleFinally$qqrv", "System", "@HandleFinally"},
          TCase{"@Other@Proc$qqrv", "Unit1", "Other.Proc"},
          TCase{"@Unit1@TForm1@$bctr$qqrv", "Unit1", "TForm1"},
          TCase{"@Unit1@Proc", "Unit1", "Proc"}, TCase{"Plain@Name", "Unit1", "Plain@Name"}})
        EXPECT_EQ(ReadableProcedureName(c.Name, c.Unit), c.Readable) << c.Name;
}

TEST(TD32Scanner, RefusesBadTrailerSignatureEntrySizeOrNameIndex) {
    const std::vector<uint8_t> good = WriteTd32(Fixture());
    std::vector<uint8_t> farTrailer = good;
    PutU32(farTrailer, farTrailer.size() - 4, uint32_t(good.size() + 4));
    std::vector<uint8_t> shortTrailer = good;
    PutU32(shortTrailer, shortTrailer.size() - 4, 4);
    std::vector<uint8_t> trailerSignature = good;
    trailerSignature[trailerSignature.size() - 5] = '8';
    TTd32Fixture otherSignature = Fixture();
    otherSignature.Signature = "FB07";
    TTd32Fixture entrySize = Fixture();
    entrySize.EntrySize = 16;
    TTd32Fixture noNames = Fixture();
    noNames.WithNames = false;
    for (const auto& data : {farTrailer, shortTrailer, trailerSignature, WriteTd32(otherSignature),
                             WriteTd32(entrySize), WriteTd32(noNames),
                             std::vector<uint8_t>(good.end() - 8, good.end())})
        EXPECT_FALSE(TKFTD32InfoScanner(TByteView(data)).ValidData());

    // The other signature is as good, and data may follow something else.
    TTd32Fixture fb0a = Fixture();
    fb0a.Signature = "FB0A";
    std::vector<uint8_t> prefixed(100, 0xEE);
    const std::vector<uint8_t> fb0aData = WriteTd32(fb0a);
    prefixed.insert(prefixed.end(), fb0aData.begin(), fb0aData.end());
    EXPECT_TRUE(TKFTD32InfoScanner(TByteView(prefixed)).ValidData());
}

TEST(TD32Scanner, SurvivesDamageAnywhere) {
    const std::vector<uint8_t> good = WriteTd32(Fixture());
    for (size_t at = 0; at < good.size(); ++at) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(0x7F)}) {
            std::vector<uint8_t> data = good;
            data[at] = value;
            const TKFTD32InfoScanner td32{TByteView(data)};
            td32.UnitAt(0x20);
            td32.ProcAt(0x12);
            td32.LineAt(0x1C);
            td32.SourceAt(0x101);
        }
    }
}

} // namespace
