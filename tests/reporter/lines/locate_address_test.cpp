// Modules without a line table of their own, and the light records of the module listing.
#include "reporter/diagnostics/debug_formats/exports_list.h"
#include "reporter/diagnostics/debug_formats/locate_address.h"
#include "reporter/diagnostics/lists/modules_list.h"
#include <gtest/gtest.h>

namespace {

__attribute__((noipa)) int PlainCode() {
    return 7;
}

// This program carries no crash reporter data, no map and no other debug data, and a
// program's exports are not read: its code is known by the module alone.
TEST(LocateAddress, ModuleWithoutDebugDataGivesTheModuleOnly) {
    TVessarDebugInfo info;
    info.Procedure = "stale";
    ASSERT_TRUE(LocateAddress(reinterpret_cast<const void*>(&PlainCode), info));
    EXPECT_EQ(info.Detail, kDetailModule);
    ASSERT_NE(info.Module, nullptr);
    EXPECT_EQ(info.Module->Handle, GetModuleHandleA(nullptr));
    EXPECT_EQ(info.Module->ModuleType, kModuleProgram);
    EXPECT_EQ(info.Module->DebugDataVersion, 0);
    EXPECT_EQ(info.Module->DebugSource, nullptr);
    EXPECT_TRUE(info.Procedure.empty());
    EXPECT_EQ(info.Addr, uint32_t(reinterpret_cast<uintptr_t>(&PlainCode)));
}

TEST(LocateAddress, AddressOutsideEveryModuleGivesNothing) {
    const int onTheStack = 0;
    TVessarDebugInfo info;
    EXPECT_FALSE(LocateAddress(&onTheStack, info));
    EXPECT_EQ(info.Detail, kDetailNothing);
    EXPECT_EQ(info.Module, nullptr);
}

// The module listing's light record is completed by the first lookup; the light one stays
// readable for whoever holds it.
TEST(ModulesList, LightRecordIsCompletedByTheFirstLookup) {
    HMODULE library = LoadLibraryA("msimg32.dll");
    ASSERT_NE(library, nullptr);
    const TModuleRef light = ModulesList().LightModuleOf(library);
    EXPECT_EQ(light->ModuleType, kModuleNotDetermined);
    EXPECT_EQ(light->Exports, nullptr);
    EXPECT_FALSE(light->FileName.empty());

    const TModuleRef full = ModulesList().ModuleOf(library);
    EXPECT_EQ(full->ModuleType, kModuleLibrary);
    EXPECT_NE(full->Exports, nullptr);
    EXPECT_EQ(full->FileName, light->FileName);
    EXPECT_EQ(ModulesList().LightModuleOf(library), full);
    FreeLibrary(library);
}

} // namespace
