// A program built like ProfileUpgrade.exe, with its options text, reads its own crash reporter
// data at start: the options are the configured ones and the procedure table points at the
// procedures themselves. ProfileUpgrade.exe's own data is checked the same way.
#include "options_text.h"
#include "reporter/core/options/module_data.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/options/shared_options.h"
#include "runtime/application.h"
#include "runtime/unit_hooks.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

void ExpectConfiguredOptions(HMODULE module) {
    TVessarModuleOptions loaded("");
    loaded.SetRepeatCount(99); // must be replaced by the stored default
    TKFModuleData data;
    ASSERT_TRUE(LoadModuleData(module, loaded, data));
    EXPECT_EQ(data.Container.Version, kKFDataVersion);
    EXPECT_GT(data.Container.BuildTime, 46000.0); // built this decade
    EXPECT_FALSE(data.LineTable.empty());         // written from the image's DWARF data

    TVessarModuleOptions configured("");
    ReadOptionsText(OPTIONS_FILE, configured);
    EXPECT_TRUE(loaded.Stored() == configured.Stored());
    EXPECT_EQ(loaded.Stored().TerminateButtonAction, 1);
    EXPECT_EQ(loaded.Stored().RepeatAction, 1);
    EXPECT_EQ(loaded.Stored().SendFlags, 0x0041);
    EXPECT_EQ(loaded.Stored().DialogFlags, 0x01CF);
    EXPECT_EQ(loaded.Stored().RepeatCount, 10);
    EXPECT_EQ(data.Container.EarlyLeakFlags, loaded.Stored().LeakFlags);
}

template <class F> void* CodeAddress(F function) {
    void* address;
    std::memcpy(&address, &function, sizeof address); // a non-virtual member's code comes first
    return address;
}

TEST(OwnCrashReporterData, OptionsAreTheConfiguredOnes) {
    ExpectConfiguredOptions(GetModuleHandleA(nullptr));
}

TEST(OwnCrashReporterData, ProcedureTablePointsAtTheProcedures) {
    HMODULE self = GetModuleHandleA(nullptr);
    TKFDataContainer c = ReadModuleKFData(self);
    const struct {
        uint8_t id;
        void* code;
    } procedures[] = {
        {0, CodeAddress(&TApplication::HandleException)},
        {1, CodeAddress(&TApplication::ShowException)},
        {11, reinterpret_cast<void*>(&ClassesInitialization)},
        {12, reinterpret_cast<void*>(&ClassesFinalization)},
        {13, reinterpret_cast<void*>(&UnitsInitializationBegins)},
        {14, reinterpret_cast<void*>(&SysUtilsInitialization)},
        {15, reinterpret_cast<void*>(&SysUtilsFinalization)},
        {16, reinterpret_cast<void*>(&UnitsInitializationEnds)},
        {17, reinterpret_cast<void*>(&UnitsFinalizationBegins)},
        {18, reinterpret_cast<void*>(&UnitsFinalizationEnds)},
    };
    for (const auto& p : procedures)
        EXPECT_EQ(ProcedureAddress(self, c, p.id), p.code) << "id " << int(p.id);
    EXPECT_EQ(c.Procedures.size(), std::size(procedures));
}

// At start the reporter's unit loads the program's options and shares them with the other
// modules of the process; at shut-down they go.
TEST(OwnCrashReporterData, ReporterUnitLoadsThemAtStart) {
    InitializeUnits({&ReporterOptionsUnit});
    TVessarModuleOptions configured("");
    ReadOptionsText(OPTIONS_FILE, configured);
    EXPECT_TRUE(CurrentVessarionOptions().Stored() == configured.Stored());
    EXPECT_EQ(CurrentVessarionOptions().ModuleHandle(), GetModuleHandleA(nullptr));
    EXPECT_EQ(CurrentOptions().Stored().SendFlags, 0x0051); // defaults until an exception
    EXPECT_EQ(ReporterModuleData().Container.Version, kKFDataVersion);

    TVessarModuleOptions shared("");
    std::vector<uint8_t> block = ReadSharedOptions(GetModuleHandleA(nullptr));
    ByteReader reader(block);
    shared.LoadFromStream(reader);
    EXPECT_TRUE(shared.Stored() == configured.Stored());

    FinalizeUnits();
    EXPECT_THROW(CurrentOptions(), Exception);
    EXPECT_TRUE(ReadSharedOptions(GetModuleHandleA(nullptr)).empty());
}

TEST(UpgradeProgramCrashReporterData, OptionsAreTheConfiguredOnes) {
    HMODULE image = LoadLibraryExA(UPGRADE_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    ExpectConfiguredOptions(image);
    TKFDataContainer c = ReadModuleKFData(image);
    for (uint8_t id : {0, 1, 11, 12, 13, 14, 15, 16, 17, 18})
        EXPECT_NE(c.FindProcedure(id), nullptr) << "id " << int(id);
    FreeLibrary(image);
}

} // namespace
