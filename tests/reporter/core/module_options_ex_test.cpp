#include "options_test_support.h"
#include "reporter/core/interception/freeze_watch.h"
#include "reporter/core/options/module_options_ex.h"
#include "reporter/core/options/shared_options.h"
#include "shared_copy_test_support.h"
#include <functional>
#include <gtest/gtest.h>
#include <iterator>

namespace {

HMODULE ThisProgram() {
    return GetModuleHandleA(nullptr);
}

TEST(ModuleOptionsEx, ReloadTakesEverythingPublishedForTheSameModule) {
    TVessarModuleOptionsEx published(TestProgramFileName());
    SetEveryFieldAwayFromDefault(published);
    TVessarModuleOptionsEx reloaded(TestProgramFileName());
    reloaded.Reload();
    EXPECT_EQ(reloaded.Stored(), published.Stored());
    EXPECT_EQ(FilterList(reloaded.Filters()), FilterList(published.Filters()));
    EXPECT_EQ(reloaded.FreezeCheck(), published.FreezeCheck());
}

TEST(ModuleOptionsEx, ReloadKeepsTheCurrentValuesOfADamagedCopy) {
    TVessarModuleOptionsEx reloaded(TestProgramFileName());
    reloaded.SetFreezeSeconds(5);
    TVessarModuleOptionsEx published(TestProgramFileName());
    published.SetFreezeSeconds(77);
    // A block cut short, then a size past the end of the mapping.
    for (uint32_t usableSize : {11u, kSharedOptionsCapacity}) {
        published.CheckChanged();
        WriteSharedHeader(ThisProgram(), {usableSize, 1});
        reloaded.Reload();
        EXPECT_EQ(reloaded.Stored().FreezeSeconds, 5) << usableSize;
    }
}

// A change held back in an update reaches no copy: reloading the same copy again undoes it.
TEST(ModuleOptionsEx, ReloadOfAnUnchangedCopyUndoesAnUnpublishedChange) {
    TVessarModuleOptionsEx published(TestProgramFileName());
    published.SetFreezeSeconds(77);
    TVessarModuleOptionsEx reloaded(TestProgramFileName());
    reloaded.Reload();
    reloaded.BeginUpdate();
    reloaded.SetFreezeSeconds(5);
    reloaded.EndUpdate();
    reloaded.Reload();
    EXPECT_EQ(reloaded.Stored().FreezeSeconds, 77);
}

TEST(ModuleOptionsEx, AnotherModuleOfTheProcessSeesTheSharedCopy) {
    HMODULE probe = LoadLibraryA(PROBE_DLL);
    ASSERT_NE(probe, nullptr);
    auto freezeSecondsSeenByProbe = reinterpret_cast<int32_t (*)(HMODULE)>(
        reinterpret_cast<void*>(GetProcAddress(probe, "ProbeFreezeSeconds")));
    ASSERT_NE(freezeSecondsSeenByProbe, nullptr);

    TVessarModuleOptionsEx options(TestProgramFileName());
    for (int32_t seconds : {4242, 17}) {
        options.SetFreezeSeconds(seconds);
        EXPECT_EQ(freezeSecondsSeenByProbe(ThisProgram()), seconds);
    }
    FreeLibrary(probe);
}

class FreezeWatchSwitching : public testing::Test {
  protected:
    void SetUp() override {
        calls.clear();
        SetFreezeWatch([] { calls += "start "; }, [] { calls += "stop "; });
    }
    void TearDown() override { SetFreezeWatch(nullptr, nullptr); }

    // Runs `change` and returns the switches it made.
    static std::string SwitchesOf(const std::function<void()>& change) {
        calls.clear();
        change();
        return calls;
    }

    static std::string calls;
};

std::string FreezeWatchSwitching::calls;

TEST_F(FreezeWatchSwitching, ReporterOptionsSwitchOnNewValuesOfEnabledAndFreezeCheck) {
    TVessarModuleOptionsEx options(TestProgramFileName());
    TVessarModuleOptions frozenSource("");
    frozenSource.SetFreezeCheck(true);
    struct Step {
        std::function<void()> change;
        std::string switches;
    };
    const Step steps[] = {
        {[&] { options.SetFreezeCheck(true); }, "start "},
        {[&] { options.SetFreezeCheck(true); }, ""},
        {[&] { options.SetEnabled(false); }, "stop "},
        {[&] { options.SetFreezeCheck(false); }, "stop "},
        {[&] { options.SetEnabled(true); }, "stop "},
        {[&] { options.SetEnabled(true); }, ""},
        {[&] { options.Assign(&frozenSource); }, "start "},
        {[&] { options.SetDefaults(); }, "stop "},
    };
    for (size_t i = 0; i < std::size(steps); ++i)
        EXPECT_EQ(SwitchesOf(steps[i].change), steps[i].switches) << "step " << i;
}

TEST_F(FreezeWatchSwitching, OtherOptionsOnlyStore) {
    TVessarModuleOptionsEx options("");
    options.SetEnabled(false);
    options.SetFreezeCheck(true);
    options.SetEnabled(true);
    EXPECT_EQ(calls, "");
    EXPECT_TRUE(options.FreezeCheck());
}

} // namespace
