// Two blocks written out byte by byte, a current one and one of the older layout, that the reader
// must read to known values: a writer and a reader that drift together would still agree with
// each other, but not with these.
#include "reporter/core/options/module_options.h"
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// Hex bytes, spaces and "| comments" to the end of a line; "TEXTS(n)" stands for n empty
// strings.
std::vector<uint8_t> Bytes(const std::string& hex) {
    std::vector<uint8_t> bytes;
    std::istringstream lines(hex);
    for (std::string line; std::getline(lines, line);) {
        line = line.substr(0, line.find('|'));
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            unsigned count = 0;
            if (std::sscanf(word.c_str(), "TEXTS(%u)", &count) == 1) {
                bytes.insert(bytes.end(), size_t(count) * 4, 0);
                continue;
            }
            for (size_t i = 0; i + 1 < word.size(); i += 2)
                bytes.push_back(uint8_t(std::stoul(word.substr(i, 2), nullptr, 16)));
        }
    }
    return bytes;
}

// Strings: int32 length, then the bytes XOR 0x5A ("a@b" is 3B 1A 38).
const char kBlock6024[] = R"(
01 00 31 01 00 05 01     | LogActivation, UseFilters, LogFlags, AppendReportToMail, SaveLog, FirstTab, FreezeCheck
2D000000                 | FreezeSeconds 45
03000000 3B1A38          | MailSender "a@b"
00000000                 | MailServer
4B02                     | MailServerPort 587
00000000 00000000        | MailUser, MailUserPassword
01 07000000 05000000     | TerminateButtonAction, LogMaxReports 7, TerminateButtonAfter 5
00000000 00000000 02     | MailRecipients, MailSubject, MailMethod
FF0000000000             | ReportFields 0xFF
00000000 03              | LogPath, WebMethod
00000000 00000000 00000000 | WebAddress, WebUser, WebUserPassword
901F0000 00000000        | WebServerPort 8080, AttachedFileList
4102 2301 00000000       | SendFlags 0x0241, DialogFlags 0x0123, DialogAutoCloseSeconds
00000000 0100000022      | SupportPage, HtmlTemplate "x"
1F 0801 00 01            | StackFlags, BehaviourFlags 0x0108, LeakFlags, RepeatAction
03000000 02000000 00 01  | RepeatCount 3, RepeatMinutes 2, BuildFlags, DialogKind
00000000 00000000 00000000 380C | ProxyAddress, ProxyUser, ProxyUserPassword, ProxyServerPort 3128
TEXTS(7)                 | TrackerUser ... ArchivePassword
01000000                 | one filter:
01 010000001F 00000000 02 03 01 00 | enabled, class "E", no message, scope, dialog, handling, after
00000000                 | MailBody
010000000E TEXTS(157)    | text 0 "T", the others empty
00000000                 | TextsLanguage
)";

TEST(OptionsBlockFixture, ACurrentBlockReadsToItsValues) {
    const std::vector<uint8_t> block = Bytes(kBlock6024);
    ByteReader reader(block);
    TVessarModuleOptions options("");
    options.LoadFromStream(reader, 6024);
    EXPECT_EQ(reader.Remaining(), 0u);
    const TVessarStoredOptions& o = options.Stored();
    EXPECT_TRUE(o.LogActivation);
    EXPECT_FALSE(o.UseFilters);
    EXPECT_EQ(o.LogFlags, 0x31);
    EXPECT_EQ(o.FirstTab, 5);
    EXPECT_TRUE(options.FreezeCheck());
    EXPECT_EQ(o.FreezeSeconds, 45);
    EXPECT_EQ(o.MailSender, "a@b");
    EXPECT_EQ(o.MailServerPort, 587);
    EXPECT_EQ(o.LogMaxReports, 7);
    EXPECT_EQ(o.TerminateButtonAfter, 5);
    EXPECT_EQ(o.MailMethod, 2);
    EXPECT_EQ(o.ReportFields, 0xFFu);
    EXPECT_EQ(o.WebMethod, 3);
    EXPECT_EQ(o.WebServerPort, 8080u);
    EXPECT_EQ(o.SendFlags, 0x0241);
    EXPECT_EQ(o.DialogFlags, 0x0123);
    EXPECT_EQ(o.HtmlTemplate, "x");
    EXPECT_EQ(o.StackFlags, 0x1F);
    EXPECT_EQ(o.BehaviourFlags, 0x0108);
    EXPECT_EQ(o.RepeatCount, 3);
    EXPECT_EQ(o.RepeatMinutes, 2);
    EXPECT_EQ(o.DialogKind, 1);
    EXPECT_EQ(o.ProxyServerPort, 3128);
    ASSERT_EQ(options.Filters().Count(), 1u);
    const TVessarExceptionFilter& filter = options.Filters().Items(0);
    EXPECT_TRUE(filter.Enabled);
    EXPECT_EQ(filter.ClassName, "E");
    EXPECT_EQ(filter.Scope, 2);
    EXPECT_EQ(filter.Dialog, 3);
    EXPECT_EQ(filter.Handling, 1);
    EXPECT_EQ(o.Texts[0], "T");
    EXPECT_EQ(o.Texts[1], "");
    EXPECT_EQ(o.TextsLanguage, "");
}

// Version 410: freeze time in milliseconds, a mail method that only said "send", the CPU tab at
// 3, DialogFlags in one byte, filters of a class name and a message.
const char kBlock410[] = R"(
01 01 30 00 01 03 01     | ..., FirstTab 3
88130000                 | FreezeSeconds 5000 (ms)
00000000 0100000029      | MailSender, MailServer "s"
1900 00000000 00000000   | MailServerPort 25, MailUser, MailUserPassword
02 20000000 03000000     | TerminateButtonAction, LogMaxReports, TerminateButtonAfter
00000000 00000000 01     | MailRecipients, MailSubject, MailMethod "send"
123456789ABC             | ReportFields in bits of that time
00000000 00 TEXTS(3)     | LogPath, WebMethod, WebAddress, WebUser, WebUserPassword
00000000 00000000        | WebServerPort, AttachedFileList
4102 23 00000000         | SendFlags 0x0241, DialogFlags 0x23 (one byte), DialogAutoCloseSeconds
00000000 00000000        | SupportPage, HtmlTemplate
0F 0801 1E 02            | StackFlags, BehaviourFlags, LeakFlags, RepeatAction
0A000000 01000000 01 02  | RepeatCount, RepeatMinutes, BuildFlags, DialogKind
TEXTS(3) 901F TEXTS(7)   | proxy, ProxyServerPort 8080, tracker and archive
01000000                 | one filter:
010000001F 0100000037    | class "E", message "m"
00000000 TEXTS(158) 00000000 | MailBody, texts, TextsLanguage
)";

TEST(OptionsBlockFixture, AnOlderBlockIsConvertedToTodaysMeaning) {
    const std::vector<uint8_t> block = Bytes(kBlock410);
    ByteReader reader(block);
    TVessarModuleOptions options("");
    options.LoadFromStream(reader, 410);
    EXPECT_EQ(reader.Remaining(), 0u);
    const TVessarStoredOptions& o = options.Stored();
    EXPECT_EQ(o.FirstTab, 5);      // the CPU tab's place today
    EXPECT_EQ(o.FreezeSeconds, 5); // from milliseconds
    EXPECT_EQ(o.MailServer, "s");
    EXPECT_EQ(o.MailMethod, 2);                  // a server was set: the own client
    EXPECT_EQ(o.ReportFields, kAllReportFields); // unknown bit positions: every field
    EXPECT_EQ(o.SendFlags, 0x0041);              // the computer-name bit came later
    EXPECT_EQ(o.DialogFlags, 0x23);
    EXPECT_EQ(o.StackFlags, 0x1F);
    EXPECT_EQ(o.BehaviourFlags, 0);
    EXPECT_EQ(o.ProxyServerPort, 8080);
    ASSERT_EQ(options.Filters().Count(), 1u);
    const TVessarExceptionFilter& filter = options.Filters().Items(0);
    EXPECT_EQ(filter.ClassName, "E");
    EXPECT_EQ(filter.CustomMessage, "m");
    EXPECT_EQ(filter.Scope, 2);  // unhandled exceptions only
    EXPECT_EQ(filter.Dialog, 2); // a message: shown in a message box
}

} // namespace
