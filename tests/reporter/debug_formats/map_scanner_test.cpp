// Linker maps with segment:offset addresses: units, publics, lines and source files by offset.
#include "reporter/diagnostics/debug_formats/location_fill.h"
#include "reporter/diagnostics/debug_formats/map_scanner.h"
#include "reporter/diagnostics/debug_formats/reader_source.h"
#include <gtest/gtest.h>

namespace {

// Two units; Beta's code starts before its first public and its first line. In Alpha the
// pair "13 0001:00000030" goes backwards and must be skipped.
const char* const kMap = R"( Start         Length     Name                   Class
 0001:00401000 00000200H .text                   CODE
 0002:00402000 00000100H .data                   DATA

Detailed map of segments

 0001:00000000 00000100 C=CODE     S=.text    G=(none)   M=Alpha    ACBP=A9
 0001:00000100 00000100 C=CODE     S=.text    G=(none)   M=Beta     ACBP=A9
 0002:00000000 00000100 C=DATA     S=.data    G=DGROUP   M=Alpha    ACBP=A9

  Address             Publics by Name

 0001:00000108       Beta.@Third

  Address             Publics by Value

 0001:00000010       Alpha.First
 0001:00000040       Alpha.TThing.Second
 0001:00000108       Beta.@Third
 0002:00000000       Alpha.Counter

Line numbers for Alpha(C:\src\Alpha.pas) segment .text

    10 0001:00000010    11 0001:00000018    12 0001:00000020
    14 0001:00000040    13 0001:00000030    15 0001:00000048

Line numbers for Beta(C:\My Files\Beta.pas) segment .text

    20 0001:00000108    21 0001:00000110

Bound resource files

)";

TEST(MapScanner, AnswersEveryQuestionByOffset) {
    const TKFMapScanner map(kMap);
    ASSERT_TRUE(map.HasData());
    EXPECT_EQ(map.UnitAt(0x20), "Alpha");
    // A unit's end still counts as inside, but the later unit wins.
    EXPECT_EQ(map.UnitAt(0x100), "Beta");
    EXPECT_EQ(map.UnitStartAt(0x150), 0x100u);
    EXPECT_EQ(map.UnitAt(0x201), "");
    EXPECT_EQ(map.UnitStartAt(0x201), TKFDebugReader::kNoUnit);

    const TKFProcAt second = map.ProcAt(0x44);
    EXPECT_EQ(second.Name, "Alpha.TThing.Second");
    EXPECT_EQ(second.Offset, 4u);
    const TKFLineAt line = map.LineAt(0x1A);
    EXPECT_EQ(line.Line, 11);
    EXPECT_EQ(line.Offset, 2u);
    EXPECT_EQ(map.SourceAt(0x1A), "C:\\src\\Alpha.pas");
    // A file name in parentheses keeps its blanks.
    EXPECT_EQ(map.SourceAt(0x110), "C:\\My Files\\Beta.pas");
}

TEST(MapScanner, AnswersOnlyFromTheUnitOfTheOffset) {
    const TKFMapScanner map(kMap);
    // Beta starts at 0x100; the public and line before 0x108 are Alpha's.
    EXPECT_EQ(map.ProcAt(0x104).Name, "");
    EXPECT_EQ(map.LineAt(0x104).Line, 0);
    EXPECT_EQ(map.SourceAt(0x104), "");
    EXPECT_EQ(map.ProcAt(0x08).Name, "");
}

TEST(MapScanner, SkipsALinePairThatGoesBackwards) {
    const TKFMapScanner map(kMap);
    EXPECT_EQ(map.LineErrors(), 1);
    EXPECT_EQ(map.LineAt(0x34).Line, 12);
    EXPECT_EQ(map.LineAt(0x44).Line, 14);
    EXPECT_EQ(map.LineAt(0x4C).Line, 15);
}

TEST(MapScanner, LocatesIntoReportNames) {
    const TKFMapScanner map(kMap);
    TKFLocationInfo location;
    ASSERT_TRUE(LocateInReader(map, 0x1C, location));
    TVessarDebugInfo info;
    FillFromLocation(location, info);
    EXPECT_EQ(info.Unit, "Alpha.pas");
    EXPECT_EQ(info.ClassName, "");
    EXPECT_EQ(info.Procedure, "First");
    EXPECT_EQ(info.Line, 11);
    EXPECT_EQ(info.ProcLine, 1);
    EXPECT_EQ(info.Detail, kDetailLine);

    ASSERT_TRUE(LocateInReader(map, 0x10A, location));
    FillFromLocation(location, info);
    EXPECT_EQ(info.Procedure, "_Third");
    EXPECT_EQ(info.Line, 20);
}

TEST(MapScanner, TextWithoutSectionsHasNoData) {
    for (const char* text :
         {"", "\r\n\r\n", "0001:00000000 garbage\n", "Detailed map of segments\n",
          "Detailed map of segments\n 0001:\n 0001:0000 zz M=\n"}) {
        EXPECT_FALSE(TKFMapScanner(text).HasData()) << text;
    }
}

TEST(MapScanner, SurvivesEveryCutOfTheText) {
    const std::string text = kMap;
    for (size_t size = 0; size < text.size(); size += 7) {
        const TKFMapScanner map(text.substr(0, size));
        map.ProcAt(0x44);
        map.LineAt(0x44);
        map.SourceAt(0x110);
    }
}

} // namespace
