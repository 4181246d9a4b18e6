// What export names tell of their procedures.
#include "reporter/diagnostics/debug_formats/export_names.h"
#include "reporter/diagnostics/debug_formats/unit_extension.h"
#include <gtest/gtest.h>

namespace {

TEST(ExportNames, EveryFormOfName) {
    const std::string ext = kUnitSourceExtension;
    struct TCase {
        const char* Name;
        uint8_t Detail;
        std::string Unit;
        const char* ClassName;
        const char* Procedure;
    };
    for (const TCase& c : {
             TCase{"PlainName", kDetailProcedure, "", "", "PlainName"},
             TCase{"Unit1.TWidget.Paint", kDetailUnit, "Unit1" + ext, "TWidget", "Paint"},
             TCase{"Unit1.Paint@8", kDetailUnit, "Unit1" + ext, "", "Paint"},
             TCase{"@Unit2@Compute$qqrv", kDetailUnit, "Unit2" + ext, "", "Compute"},
             TCase{"@Unit2@TForm@Show$qqrp7TObject", kDetailUnit, "Unit2" + ext, "TForm", "Show"},
             TCase{"@Unit2@TForm@$bctr$qqrv", kDetailUnit, "Unit2" + ext, "", "TForm"},
             TCase{"@System@@Finally$qqrv", kDetailUnit, "System" + ext, "", "_Finally"},
             TCase{"@Done$qqrv", kDetailProcedure, "", "", "Done"},
             TCase{"@$xp$7TObject", kDetailProcedure, "", "", "_$xp$7TObject"},
             TCase{"?Mangled@@YAXXZ", kDetailNothing, "", "", ""},
         }) {
        const TExportName read = ReadExportName(c.Name);
        EXPECT_EQ(read.Detail, c.Detail) << c.Name;
        EXPECT_EQ(read.Unit, c.Unit) << c.Name;
        EXPECT_EQ(read.ClassName, c.ClassName) << c.Name;
        EXPECT_EQ(read.Procedure, c.Procedure) << c.Name;
    }
}

} // namespace
