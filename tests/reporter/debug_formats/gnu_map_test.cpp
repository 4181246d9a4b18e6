// The GNU linker's map: units from the code section's input sections, procedures from their
// symbols; no lines.
#include "reporter/diagnostics/debug_formats/debug_source.h"
#include "reporter/diagnostics/debug_formats/location_fill.h"
#include "reporter/diagnostics/debug_formats/map_scanner.h"
#include "test_library.h"
#include <gtest/gtest.h>

namespace {

const char* const kGnuMap = R"(Archive member included to satisfy reference by file (symbol)

Memory Configuration

Name             Origin             Length             Attributes
*default*        0x00000000         0xffffffff

Linker script and memory map

                0x00400000                        __image_base__ = 0x400000
LOAD CMakeFiles/app.dir/main.cpp.obj
.text           0x00401000      0x300
 *(.text)
 .text          0x00401000       0x40 CMakeFiles/app.dir/main.cpp.obj
                0x00401000                main
                0x00401010                Widget::Draw(int) const
 .text$_ZN6Widget4SizeEv
                0x00401040       0x20 CMakeFiles/app.dir/widget.cpp.obj
                0x00401040                Widget::Size()
 *fill*         0x00401060        0x0
 .text          0x00401060       0x10 /usr/lib/libmingw32.a(lib32_libmingw32_a-gccmain.o)
                0x00401060                __main
                0x00401070                etext = .

.data           0x00402000      0x200
 .data          0x00402000       0x10 CMakeFiles/app.dir/main.cpp.obj
                0x00402000                counter
)";

TEST(GnuMap, UnitsAndProceduresFromTheCodeSection) {
    const TKFMapScanner map(kGnuMap);
    ASSERT_TRUE(map.HasData());
    struct TCase {
        uint32_t Offset;
        const char* Unit;
        const char* Procedure;
        uint32_t ProcedureOffset;
    };
    for (const TCase& c :
         {TCase{0x04, "main.cpp", "main", 4}, TCase{0x14, "main.cpp", "Widget::Draw", 4},
          TCase{0x45, "widget.cpp", "Widget::Size", 5},
          TCase{0x62, "lib32_libmingw32_a-gccmain", "__main", 2}}) {
        EXPECT_EQ(map.UnitAt(c.Offset), c.Unit) << c.Offset;
        const TKFProcAt procedure = map.ProcAt(c.Offset);
        EXPECT_EQ(procedure.Name, c.Procedure) << c.Offset;
        EXPECT_EQ(procedure.Offset, c.ProcedureOffset) << c.Offset;
        EXPECT_EQ(map.LineAt(c.Offset).Line, 0);
    }
    // Data lies outside every unit.
    EXPECT_EQ(map.UnitAt(0x1000), "");
}

// The map the linker wrote for the test library lies beside it.
TEST(GnuMap, NamesTheTestLibrarysProcedures) {
    const auto source = DebugSourceFor(TestLibrary());
    ASSERT_NE(source, nullptr);
    TKFLocationInfo location;
    const auto plain = reinterpret_cast<const uint8_t*>(GetProcAddress(TestLibrary(), "PlainName"));
    ASSERT_TRUE(source->Locate(plain + 3, location));
    TVessarDebugInfo info;
    FillFromLocation(location, info);
    EXPECT_EQ(info.Unit, "debug_formats_library.cpp");
    EXPECT_EQ(info.Procedure, "plain_procedure");
    EXPECT_EQ(info.Detail, kDetailUnit);
}

} // namespace
