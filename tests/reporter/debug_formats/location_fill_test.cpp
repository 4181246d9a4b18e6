// A debug source's answer as the report shows it.
#include "reporter/diagnostics/debug_formats/location_fill.h"
#include <gtest/gtest.h>

namespace {

struct TCase {
    const char* UnitName;
    const char* SourceFile;
    const char* ProcedureName;
    int32_t LineNumber;
    int32_t ProcLines;
    // Expected:
    const char* Unit;
    const char* ClassName;
    const char* Procedure;
    int32_t ProcLine;
    uint8_t Detail;
};

TEST(LocationFill, NamesSplitAndDetailChosen) {
    const auto module = std::make_shared<const TVessarModuleInfo>();
    for (const TCase& c : {
             TCase{"Forms", "C:\\vcl\\Forms.pas", "Forms.TForm.Show", 120, 3, "Forms.pas", "TForm",
                   "Show", 3, kDetailLine},
             // Two parts: the first is the unit itself (any case) or a class.
             TCase{"Forms", "Forms.pas", "FORMS.Run", 7, 0, "Forms.pas", "", "Run", 0, kDetailLine},
             TCase{"Forms", "Forms.pas", "TForm.Show", 7, 0, "Forms.pas", "TForm", "Show", 0,
                   kDetailLine},
             // Without a source file the unit name's file part stands.
             TCase{"lib\\Main", "", "@Start", 0, 0, "Main", "", "_Start", 0, kDetailUnit},
             TCase{"Main", "", "A.B.C.D", 0, 0, "Main", "B", "C.D", 0, kDetailUnit},
             // A negative distance from the procedure's first line is shown as 0.
             TCase{"Main", "Main.pas", "Run", 5, -2, "Main.pas", "", "Run", 0, kDetailLine},
             TCase{"", "", "Run", 0, 0, "", "", "Run", 0, kDetailProcedure},
             TCase{"", "", "", 0, 0, "", "", "", 0, kDetailModule},
         }) {
        TKFLocationInfo location;
        location.Addr = 0x401234;
        location.UnitName = c.UnitName;
        location.SourceFile = c.SourceFile;
        location.ProcedureName = c.ProcedureName;
        location.LineNumber = c.LineNumber;
        location.ProcLines = c.ProcLines;
        TVessarDebugInfo info;
        info.Module = module;
        FillFromLocation(location, info);
        EXPECT_EQ(info.Addr, 0x401234u);
        EXPECT_EQ(info.Unit, c.Unit) << c.ProcedureName;
        EXPECT_EQ(info.ClassName, c.ClassName) << c.ProcedureName;
        EXPECT_EQ(info.Procedure, c.Procedure) << c.ProcedureName;
        EXPECT_EQ(info.Line, c.LineNumber) << c.ProcedureName;
        EXPECT_EQ(info.ProcLine, c.ProcLine) << c.ProcedureName;
        EXPECT_EQ(info.Detail, c.Detail) << c.ProcedureName;
    }
}

} // namespace
