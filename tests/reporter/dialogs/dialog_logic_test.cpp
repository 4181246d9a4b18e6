// The arithmetic of the dialogs, apart from their windows: when an unpainted window is given
// up, what the bottom area holds, where the buttons go, which tab shows which page, and the
// report's lines as rich text.
#include "reporter/core/options/option_flags.h"
#include "reporter/dialogs/classic_layout.h"
#include "reporter/dialogs/detailed_layout.h"
#include "reporter/dialogs/page_lists.h"
#include "reporter/dialogs/paint_watch.h"
#include "reporter/dialogs/report_pages.h"
#include "reporter/dialogs/report_rtf.h"
#include "reporter/dialogs/source_jump.h"
#include <cstring>
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

// Rows follow one another with their gaps; hidden rows take no room; the buttons end at the
// right edge, Send left of Don't Send.
TEST(ClassicLayout, RowsStackWithTheirGaps) {
    const TClassicMeasures m{.Header = 26,
                             .Message = 17,
                             .Terminate = 17,
                             .TellUs = 13,
                             .ReportCreated = 26,
                             .SeeData = 13,
                             .SeeDataWidth = 200,
                             .LinkWidth = 50,
                             .WhatDoing = 13,
                             .FixedLine = 11,
                             .EmailLabel = 13,
                             .EmailLabelWidth = 120,
                             .ButtonHeight = 23,
                             .SendWidth = 110,
                             .DontSendWidth = 80,
                             .HelpWidth = 75};
    const TClassicLayout all = LayOutClassic({true, true, true, true, true, true, true}, m);
    EXPECT_EQ(all.Header.top, (51 - 26) / 2);
    EXPECT_EQ(all.Message.top, 59);
    EXPECT_EQ(all.Terminate.top, 59 + 17 + 10);
    EXPECT_EQ(all.TellUs.top, all.Terminate.bottom + 10);
    EXPECT_EQ(all.ReportCreated.top, all.TellUs.bottom + 2);
    EXPECT_EQ(all.SeeData.top, all.ReportCreated.bottom + 12);
    EXPECT_EQ(all.Link.left, 8 + 200);
    EXPECT_EQ(all.Reproduce.top, all.WhatDoing.bottom + 2);
    EXPECT_EQ(all.Reproduce.bottom - all.Reproduce.top, 4 * 11 + 8);
    EXPECT_EQ(all.Email.left, all.EmailLabel.right);
    EXPECT_EQ(all.DontSend.right, 405);
    EXPECT_EQ(all.Send.right, all.DontSend.left - 6);
    EXPECT_EQ(all.Help.left, 8);
    EXPECT_EQ(all.ClientHeight, all.Help.bottom + 10);
    const TClassicLayout bare = LayOutClassic({}, m);
    EXPECT_EQ(bare.Help.top, 59 + 17 + 12);
}

TEST(ClassicLayout, ButtonWidthAndEmail) {
    EXPECT_EQ(ClassicButtonWidth(10), 75);
    EXPECT_EQ(ClassicButtonWidth(100), 100 + 4 * GetSystemMetrics(SM_CXBORDER) + 16);
    EXPECT_TRUE(IsAcceptableEmail("user@example.com"));
    EXPECT_FALSE(IsAcceptableEmail("user@localhost"));
    EXPECT_FALSE(IsAcceptableEmail("user.example.com"));
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

// A folded header hides its block up to the empty row before the next header.
TEST(PageLists, FoldedHeadersHideTheirBlocks) {
    const TListRow header{.Cells = {"thread"}, .Header = true};
    const TListRow entry{.Cells = {"00401000"}};
    const TListRow spacer{.Cells = {""}, .Spacer = true};
    const std::vector<TListRow> rows{header, entry, entry, spacer, header, entry};
    EXPECT_EQ(VisibleRows(rows, {}), (std::vector<size_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(VisibleRows(rows, {true}), (std::vector<size_t>{0, 3, 4, 5}));
    EXPECT_EQ(VisibleRows(rows, {true, false, false, false, true}), (std::vector<size_t>{0, 3, 4}));
}

// The record's texts are cut to 89 characters and a zero; the offset comes from the brackets.
TEST(SourceJump, RecordLayout) {
    TListRow row{.Cells = {"00401000", "a.exe", "Unit1", "TForm1", std::string(300, 'p'), "42[3]"},
                 .ModuleTimeStamp = 45000.5};
    auto record = SourceJumpRecord(row);
    ASSERT_EQ(record.size(), 376u);
    EXPECT_EQ(record[0], 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(&record[90]), "Unit1");
    EXPECT_STREQ(reinterpret_cast<const char*>(&record[180]), "TForm1");
    EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(&record[270])), 89u);
    int32_t line = 0, offset = 0;
    double stamp = 0;
    std::memcpy(&line, &record[360], 4);
    std::memcpy(&offset, &record[364], 4);
    std::memcpy(&stamp, &record[368], 8);
    EXPECT_EQ(line, 42);
    EXPECT_EQ(offset, 3);
    EXPECT_EQ(stamp, 45000.5);
    row.Cells[5] = "7";
    record = SourceJumpRecord(row);
    std::memcpy(&offset, &record[364], 4);
    EXPECT_EQ(offset, -1);
    EXPECT_TRUE(HasSourceLine(row));
    row.Cells[5] = "";
    EXPECT_FALSE(HasSourceLine(row));
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
