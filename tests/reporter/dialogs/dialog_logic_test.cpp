// The arithmetic of the dialogs, apart from their windows: when an unpainted window is given
// up, what the bottom area holds, where the buttons go, which tab shows which page, and the
// report's lines as rich text.
#include "reporter/core/options/option_flags.h"
#include "reporter/dialogs/detailed_layout.h"
#include "reporter/dialogs/page_lists.h"
#include "reporter/dialogs/paint_watch.h"
#include "reporter/dialogs/report_pages.h"
#include "reporter/dialogs/report_rtf.h"
#include <gtest/gtest.h>

namespace {

// A window that paints late on a busy machine is waited for; one that never paints is given up
// only after the grace time.
TEST(PaintWatch, LatePaintKeepsTheDialog) {
    TPaintWatch watch(5000);
    watch.Start(1000);
    EXPECT_EQ(watch.Check(1001), TPaintWatch::TVerdict::Wait);
    EXPECT_EQ(watch.Check(5999), TPaintWatch::TVerdict::Wait);
    watch.NotePainted();
    EXPECT_EQ(watch.Check(7000), TPaintWatch::TVerdict::Painted);
}

TEST(PaintWatch, NeverPaintedIsGivenUp) {
    TPaintWatch watch(5000);
    watch.Start(1000);
    EXPECT_EQ(watch.Check(6000), TPaintWatch::TVerdict::GiveUp);
}

TEST(DetailedLayout, BottomAreaByWhatIsOffered) {
    struct Case {
        TBottomOffers Offers;
        int Height;
    };
    const Case cases[] = {
        {{}, 0},
        {{.Send = true}, 20},
        {{.Send = true, .Screenshot = true}, 34},
        {{.Copy = true}, 20},
        {{.Copy = true, .SupportLink = true}, 34},
        {{.Send = true, .Copy = true}, 20},
        {{.SupportLink = true}, 20},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BottomAreaHeight(c.Offers), c.Height);
}

// The buttons sit 32 above the bottom area; OK is centred unless Help is in its way.
TEST(DetailedLayout, ButtonsAndChecks) {
    const TDetailedLayout l = LayOut({.Width = 466,
                                      .Height = 252,
                                      .BottomArea = 34,
                                      .ButtonWidth = 75,
                                      .TerminateShown = true,
                                      .HelpShown = true,
                                      .ScreenshotOffered = true});
    EXPECT_EQ(l.Ok.top, 252 - 34 - 32);
    EXPECT_EQ(l.Terminate.left, 5);
    EXPECT_EQ(l.Help.left, 75 + 13);
    EXPECT_EQ(l.Ok.left, (466 - 75) / 2);
    EXPECT_EQ(l.Details.left, 466 - 75 - 5);
    EXPECT_EQ(l.Tabs.bottom - l.Tabs.top, 162 - 34);
    EXPECT_EQ(l.LinkTop, l.Ok.top + 50);
    const TDetailedLayout narrow = LayOut({.Width = 340,
                                           .Height = 120,
                                           .ButtonWidth = 120,
                                           .TerminateShown = true,
                                           .HelpShown = true});
    EXPECT_EQ(narrow.Ok.left, narrow.Help.right + 8);
}

// Missing pages move the later tabs up; a first page that is not shown becomes General.
TEST(ReportPages, TabsFollowTheShownPages) {
    EXPECT_EQ(ShownPages(0).size(), 2u);
    EXPECT_EQ(ShownPages(LogFlag::AssemblerAndCpu)[2], TReportPage::Assembler);
    EXPECT_EQ(TabOfPage(TReportPage::Cpu, LogFlag::AssemblerAndCpu), 3);
    EXPECT_EQ(FirstPage(int(TReportPage::Modules), LogFlag::AssemblerAndCpu), TReportPage::General);
    EXPECT_EQ(FirstPage(int(TReportPage::Cpu), LogFlag::AssemblerAndCpu), TReportPage::Cpu);
    EXPECT_EQ(FirstPage(9, 0x30), TReportPage::General);
}

TEST(PageLists, ShortVersion) {
    EXPECT_EQ(ShortVersion("6.1.7601.17514"), "6.1.x");
    EXPECT_EQ(ShortVersion("2.0"), "2.0");
    EXPECT_EQ(ShortVersion(""), "");
}

// Braces and backslashes are escaped; the general section's kinds of lines get their colours.
TEST(ReportRtf, GeneralSection) {
    const TRtfFont font{0, "Lucida Console", 8, 100};
    const std::string rtf =
        GeneralSectionRtf("Application:\r\n------\r\n  1.1 Start Date: a {b} c\\d\r\nUser:", font);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1040{\\fonttbl{\\f0\\fmodern"
                        "\\fprq1\\fcharset0 Lucida Console;}}\r\n",
                        0),
              0u);
    EXPECT_NE(rtf.find("\\f0\\fs16\r\n\\cf1\\b Application:\\b0\\par\r\n\\cf3 ------\\par\r\n"
                       "\\cf5   1.1\\cf2  Start Date:\\cf4  a \\{b\\} c\\\\d\\par\r\n"
                       "\\cf3 \\b User:\\b0}"),
              std::string::npos)
        << rtf;
}

} // namespace
