// Each module's debug source: a map, then TD32, then JDBG data, the first with data answering.
#include "jdbg_writer.h"
#include "reporter/diagnostics/debug_formats/debug_source.h"
#include "reporter/diagnostics/debug_formats/location_fill.h"
#include "runtime/format.h"
#include "td32_writer.h"
#include "test_library.h"
#include <gtest/gtest.h>

namespace {

// The test library's procedures lie 16 bytes apart from PlainName on.
uint32_t Plain() {
    return ExportOffset("PlainName");
}

std::vector<uint8_t> Map() {
    return TextBytes(Format(R"(Detailed map of segments

 0001:%08X 00000030 C=CODE     S=.text    G=(none)   M=Gadgets  ACBP=A9

  Address             Publics by Value

 0001:%08X       Gadgets.TGadget.Plain
 0001:%08X       Gadgets.Dotted

Line numbers for Gadgets(Gadgets.pas) segment .text

   100 0001:%08X   101 0001:%08X   110 0001:%08X
)",
                            Plain(), Plain(), Plain() + 0x10, Plain(), Plain() + 4,
                            Plain() + 0x10));
}

std::vector<uint8_t> Td32(const std::string& signature = "FB09") {
    TTd32Fixture fixture;
    fixture.Units = {{"Gizmos", Plain(), 0x30}};
    fixture.Procedures = {{"@Gizmos@TGizmo@Plain$qqrv", Plain(), 8}};
    fixture.Sources = {
        {"Gizmos.pas",
         Plain(),
         Plain() + 0x30,
         {{Plain(), 200}, {Plain() + 4, 201}, {Plain() + 0x10, 210}, {Plain() + 0x20, 220}}}};
    fixture.Signature = signature;
    return WriteTd32(fixture);
}

std::vector<uint8_t> Jdbg() {
    TJdbgWriter jdbg;
    jdbg.Unit(Plain(), jdbg.Name("Doodads"));
    jdbg.Source(Plain(), jdbg.Name("Doodads.pas", TJdbgNameForm::KeyedText));
    jdbg.Symbol(Plain(), jdbg.Name("TDoodad"), jdbg.Name("Plain"));
    jdbg.Line(Plain(), 300);
    jdbg.Line(Plain() + 4, 301);
    jdbg.Line(Plain() + 0x10, 310);
    return jdbg.Bytes();
}

struct TCase {
    const char* Copy;
    TSideFiles Files;
    const char* Unit;
    const char* ClassName;
    int32_t Line;
    TImageChange Change = nullptr;
};

TEST(DebugSources, FirstSourceWithDataAnswers) {
    const std::vector<uint8_t> noMap = TextBytes("Nothing of use\r\n");
    for (const TCase& c : {
             TCase{"all_sources",
                   {{".map", Map()}, {".tds", Td32()}, {".jdbg", Jdbg()}},
                   "Gadgets.pas",
                   "TGadget",
                   101},
             // The image's debug directory first, then a file beside it.
             TCase{"td32_image",
                   {{".map", noMap}, {".tds", Td32("FB08")}, {".jdbg", Jdbg()}},
                   "Gizmos.pas",
                   "TGizmo",
                   201,
                   [](std::vector<uint8_t>& image) { PutDebugDataInImage(image, Td32()); }},
             TCase{"td32_file",
                   {{".map", noMap}, {".tds", Td32()}, {".jdbg", Jdbg()}},
                   "Gizmos.pas",
                   "TGizmo",
                   201},
             TCase{"jdbg_file",
                   {{".map", noMap}, {".tds", Td32("FB08")}, {".jdbg", Jdbg()}},
                   "Doodads.pas",
                   "TDoodad",
                   301},
         }) {
        const TLibraryCopy copy(c.Copy, c.Files, c.Change);
        ASSERT_NE(copy.Module(), nullptr) << c.Copy;
        const auto source = DebugSourceFor(copy.Module());
        ASSERT_NE(source, nullptr) << c.Copy;
        TKFLocationInfo location;
        const auto address = static_cast<const uint8_t*>(copy.Export("PlainName")) + 5;
        ASSERT_TRUE(source->Locate(address, location)) << c.Copy;
        EXPECT_EQ(location.Provider, source.get());
        TVessarDebugInfo info;
        FillFromLocation(location, info);
        EXPECT_EQ(info.Addr, uint32_t(reinterpret_cast<uintptr_t>(address)));
        EXPECT_EQ(info.Unit, c.Unit) << c.Copy;
        EXPECT_EQ(info.ClassName, c.ClassName) << c.Copy;
        EXPECT_EQ(info.Line, c.Line) << c.Copy;
        EXPECT_EQ(info.Procedure, "Plain") << c.Copy;
        EXPECT_EQ(info.ProcLine, 1) << c.Copy;
    }
}

TEST(DebugSources, JdbgSectionOfTheImage) {
    const HMODULE library = LoadLibraryA(TestFilePath("debug_formats_section.dll").c_str());
    ASSERT_NE(library, nullptr);
    const auto source = DebugSourceFor(library);
    ASSERT_NE(source, nullptr);
    TKFLocationInfo location;
    EXPECT_TRUE(source->Locate(reinterpret_cast<const uint8_t*>(library) + 0x1010, location));
    EXPECT_EQ(location.UnitName, "Z");
    FreeLibrary(library);
}

TEST(DebugSources, ModuleWithoutDebugDataHasNoSource) {
    EXPECT_EQ(DebugSourceFor(GetModuleHandleA(nullptr)), nullptr);
}

} // namespace
