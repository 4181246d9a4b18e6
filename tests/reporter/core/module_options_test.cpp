#include "options_test_support.h"
#include <gtest/gtest.h>

namespace {

TEST(ModuleOptions, StartsWithTheDocumentedDefaults) {
    TVessarModuleOptions options("");
    const TVessarStoredOptions& o = options.Stored();
    EXPECT_EQ(o.MailServerPort, 25);
    EXPECT_EQ(o.ProxyServerPort, 8080);
    EXPECT_EQ(o.ReportFields, 0xFFFFFFFFFFFFull);
    EXPECT_EQ(o.LogFlags, 0x30);
    EXPECT_EQ(o.SendFlags, 0x0051);
    EXPECT_EQ(o.DialogFlags, 0x018F);
    EXPECT_EQ(o.StackFlags, 0x0F);
    EXPECT_EQ(o.BehaviourFlags, 0x0058);
    EXPECT_EQ(o.LeakFlags, 0x1E);
    EXPECT_EQ(o.LogMaxReports, 32);
    EXPECT_EQ(o.FreezeSeconds, 60);
    EXPECT_EQ(o.TextsLanguage, "English");
    EXPECT_FALSE(o.MailSender.empty());
    EXPECT_TRUE(options.Enabled());
    EXPECT_FALSE(options.FreezeCheck());
    EXPECT_EQ(options.ModuleHandle(), nullptr);
    EXPECT_EQ(options.Filters().Count(), 0u);
    EXPECT_EQ(o.Texts[kTextIntroduction],
              "An error has occurred during program execution.\r\nPlease read the "
              "following information for further details.");
    EXPECT_EQ(o.Texts[kTextTrackerInvalidModify], "Invalid modify request.");
    EXPECT_EQ(o.Texts[kTextUnused153], "");
    EXPECT_EQ(o.Texts[kTextInvalidEmail], "Invalid email.");
    EXPECT_EQ(o.HtmlTemplate.substr(0, 8), "<html>\r\n");
    EXPECT_NE(o.HtmlTemplate.find("<%HTML_TAG%>"), std::string::npos);
    EXPECT_EQ(o.HtmlTemplate.substr(o.HtmlTemplate.size() - 7), "</html>");
}

TEST(ModuleOptions, TakesTheHandleOfItsModule) {
    TVessarModuleOptions options(TestProgramFileName());
    EXPECT_EQ(options.ModuleHandle(), GetModuleHandleA(nullptr));
    EXPECT_EQ(options.ModuleName(), TestProgramFileName());
}

TEST(ModuleOptions, StoresOneReportForAMaximumOfZero) {
    TVessarModuleOptions options("");
    options.SetLogMaxReports(0);
    EXPECT_EQ(options.Stored().LogMaxReports, 1);
}

TEST(ModuleOptions, NotifiesEachChangeOnceAndBulkChangesOnceInAll) {
    CountingOptions options;
    options.SetMailServer("smtp.example.org");
    options.Filters().Add({});
    EXPECT_EQ(options.changes, 2);

    options.BeginUpdate();
    options.SetMailUser("user");
    options.SetText(kTextErrorOccurred, "Oops");
    options.EndUpdate();
    EXPECT_EQ(options.changes, 2);
    options.CheckChanged();
    EXPECT_EQ(options.changes, 3);

    TVessarModuleOptions source("");
    SetEveryFieldAwayFromDefault(source);
    options.Assign(&source);
    EXPECT_EQ(options.changes, 4);
    options.SetDefaults();
    EXPECT_EQ(options.changes, 5);
    EXPECT_EQ(options.UpdateDepth(), 0);
}

TEST(ModuleOptions, OptionsOfOtherModulesDoNotNotify) {
    struct NoModuleOptions : TVessarModuleOptions {
        NoModuleOptions() : TVessarModuleOptions("") {}
        void Changed() override { ADD_FAILURE() << "notified"; }
    } options;
    options.SetMailServer("smtp.example.org");
    options.CheckChanged();
}

TEST(ModuleOptions, AssignCopiesTheSettingsButNotTheModuleNorEnabled) {
    TVessarModuleOptions source("");
    SetEveryFieldAwayFromDefault(source);
    TVessarModuleOptions target(TestProgramFileName());
    target.Assign(&source);

    EXPECT_TRUE(target.Stored() == source.Stored());
    EXPECT_TRUE(target.FreezeCheck());
    EXPECT_EQ(FilterList(target.Filters()), FilterList(source.Filters()));
    EXPECT_EQ(target.ReproduceText(), "Click twice");
    EXPECT_TRUE(target.Enabled());
    EXPECT_EQ(target.ModuleName(), TestProgramFileName());
    EXPECT_EQ(target.ModuleHandle(), GetModuleHandleA(nullptr));
    EXPECT_EQ(target.BeforeBuildCommand(), "");

    source.Filters().Clear();
    EXPECT_EQ(target.Filters().Count(), 3u) << "filters are copied, not shared";
}

TEST(ModuleOptions, AssignFromNothingIsRefusedAndFromItselfChangesNothing) {
    CountingOptions options;
    options.SetMailServer("smtp.example.org");
    options.Filters().Add({true, "EAbort", "", 0, 0, 0, 0});
    int changes = options.changes;

    options.Assign(&options);
    EXPECT_EQ(options.Stored().MailServer, "smtp.example.org");
    EXPECT_EQ(options.Filters().Count(), 1u);
    EXPECT_EQ(options.changes, changes);

    try {
        options.Assign(nullptr);
        FAIL() << "no exception";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "Impossible to assign nil as TVessarModuleOptions.");
    }
}

TEST(ModuleOptions, TextsAreReadWithTheirVariablesExpanded) {
    SetEnvironmentVariableA("VESSAR_OPTIONS_TEST", "Quernel");
    TVessarModuleOptions options("");
    options.SetText(kTextInformation, "%VESSAR_OPTIONS_TEST% failed");
    EXPECT_EQ(options.Text(kTextInformation), "Quernel failed");
    EXPECT_EQ(options.Stored().Texts[kTextInformation], "%VESSAR_OPTIONS_TEST% failed");
    EXPECT_EQ(options.Text(kTextInvalidEmail), "Invalid email.");
    EXPECT_THROW(options.Text(kTextCount), Exception);
    EXPECT_THROW(options.SetText(-1, "x"), Exception);
}

} // namespace
