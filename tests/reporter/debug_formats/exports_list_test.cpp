// The export fallback on a real library: names, lengths measured by decoding, forwarders and
// import thunks.
#include "reporter/diagnostics/debug_formats/exports_list.h"
#include "reporter/diagnostics/debug_formats/unit_extension.h"
#include "test_library.h"
#include <gtest/gtest.h>

namespace {

const uint8_t* Export(const char* name) {
    return reinterpret_cast<const uint8_t*>(
        reinterpret_cast<uintptr_t>(GetProcAddress(TestLibrary(), name)));
}

TEST(ExportsList, SortedWithForwardersAndThunksResolved) {
    const TVessarFunctionsList exports = FunctionsListFor(TestLibrary());
    ASSERT_EQ(exports.Count(), 5u);
    for (size_t i = 1; i < exports.Count(); ++i)
        EXPECT_LE(exports[i - 1].Address(), exports[i].Address());
    // Both lead into the system library's procedure itself.
    const auto tickCount = reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount")));
    for (size_t i = 0; i < exports.Count(); ++i) {
        if (exports[i].Name() == "Forwarded" || exports[i].Name() == "Thunked") {
            EXPECT_EQ(exports[i].Address(), tickCount) << exports[i].Name();
        }
    }
}

TEST(ExportsList, ProgramHasNoList) {
    EXPECT_EQ(FunctionsListFor(GetModuleHandleA(nullptr)).Count(), 0u);
}

TEST(ExportsList, LocatesWithinAProcedureUpToItsReturn) {
    const TVessarFunctionsList exports = FunctionsListFor(TestLibrary());
    // "mov eax, 0xC3; ret": 6 bytes, a return's byte inside the first instruction.
    const uint8_t* dotted = Export("Unit1.TWidget.Paint");
    TVessarDebugInfo info;
    ASSERT_TRUE(LocateByExport(exports, dotted + 5, info));
    EXPECT_EQ(info.Detail, kDetailUnit);
    EXPECT_EQ(info.Unit, std::string("Unit1") + kUnitSourceExtension);
    EXPECT_EQ(info.ClassName, "TWidget");
    EXPECT_EQ(info.Procedure, "Paint");
    EXPECT_TRUE(LocateByExport(exports, dotted + 6, info));
    EXPECT_FALSE(LocateByExport(exports, dotted + 7, info));
    EXPECT_FALSE(LocateByExport(exports, Export("PlainName") - 1, info));

    TVessarDebugInfo plain;
    ASSERT_TRUE(LocateByExport(exports, Export("PlainName") + 2, plain));
    EXPECT_EQ(plain.Detail, kDetailProcedure);
    EXPECT_EQ(plain.Unit, "");
    EXPECT_EQ(plain.Procedure, "PlainName");

    TVessarDebugInfo mangled;
    ASSERT_TRUE(LocateByExport(exports, Export("@Unit2@Compute$qqrv"), mangled));
    EXPECT_EQ(mangled.Detail, kDetailUnit);
    EXPECT_EQ(mangled.Unit, std::string("Unit2") + kUnitSourceExtension);
    EXPECT_EQ(mangled.Procedure, "Compute");
}

} // namespace
