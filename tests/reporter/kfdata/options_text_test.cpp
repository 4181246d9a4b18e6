// The options text that configures a program's crash reporter, and the link map the build
// step reads.
#include "link_map.h"
#include "options_text.h"
#include "reporter/base/binary_file.h"
#include <gtest/gtest.h>
#include <sstream>

namespace {

void Apply(const std::string& text, TVessarModuleOptions& options) {
    std::istringstream in(text);
    ApplyOptionsText(in, "app.options", options);
}

TEST(OptionsText, SetsOptionsTextsAndFiltersInOrder) {
    TVessarModuleOptions o("");
    Apply("# comment\r\n"
          "; another\n"
          "\n"
          "  SendFlags = 0x0041\n"
          "RepeatCount=-3\n"
          "FreezeCheck=true\n"
          "ReportFields=0xFFFFFFFFFF00\n"
          "MailSubject=Error in %_ExceptModuleName%=now\n"
          "Text.4=First line\\r\\nSecond \\\\ line\\t!\n"
          "[Filter]\n"
          "ClassName= EAbort \n"
          "Handling=0\n"
          "[Filter]\n"
          "Enabled=0\n"
          "ClassName=EDBEngineError\n"
          "CustomMessage=The database failed.\n"
          "Dialog=4\n",
          o);
    EXPECT_EQ(o.Stored().SendFlags, 0x0041);
    EXPECT_EQ(o.Stored().RepeatCount, -3);
    EXPECT_TRUE(o.FreezeCheck());
    EXPECT_EQ(o.Stored().ReportFields, 0xFFFFFFFFFF00u);
    EXPECT_EQ(o.Stored().MailSubject, "Error in %_ExceptModuleName%=now");
    EXPECT_EQ(o.Stored().Texts[kTextIntroduction], "First line\r\nSecond \\ line\t!");
    EXPECT_EQ(o.Stored().Texts[kTextTabGeneral], "General"); // untouched texts keep their defaults
    ASSERT_EQ(o.Filters().Count(), 2u);
    EXPECT_EQ(o.Filters().Items(0).ClassName, " EAbort ");
    EXPECT_EQ(o.Filters().Items(0).Handling, 0);
    EXPECT_TRUE(o.Filters().Items(0).Enabled);
    EXPECT_FALSE(o.Filters().Items(1).Enabled);
    EXPECT_EQ(o.Filters().Items(1).CustomMessage, "The database failed.");
    EXPECT_EQ(o.Filters().Items(1).Dialog, 4);
}

TEST(OptionsText, RefusesWhatItCannotApplyNamingTheLine) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"SendFlags=0x10000\n", "app.options:1: \"0x10000\" is not a number from 0 to 65535"},
        {"\nRepeatCount=ten\n", "app.options:2: \"ten\" is not a number"},
        {"NoSuchOption=1\n", "app.options:1: there is no option \"NoSuchOption\""},
        {"Text.158=x\n", "app.options:1: \"158\" is not a number from 0 to 157"},
        {"SaveLog=yes\n", "app.options:1: \"yes\" is not 0 or 1"},
        {"MailBody=a\\qb\n", "app.options:1: unknown escape \\q"},
        {"just words\n", "app.options:1: expected Name=value"},
        {"[Filter]\nScope=3\n", "app.options:2: \"3\" is not a number from 0 to 2"},
        {"[Filter]\nSendFlags=1\n", "app.options:2: a filter has no field \"SendFlags\""},
    };
    for (const auto& c : cases) {
        try {
            TVessarModuleOptions o("");
            Apply(c.text, o);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const OptionsTextError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
}

TEST(LinkMap, FindsSymbolsByNameAndTheImageBase) {
    const std::string path = "link_map_test.map";
    WriteNewFile(path, [] {
        std::string text =
            "                0x00400000                __image_base__ = 0x400000\n"
            ".text           0x00401000     0x1800\n"
            " .text          0x004015b0       0x30 obj.o\n"
            "                0x004015b0                TApplication::HandleException(TComponent*)\n"
            "                0x004015c8                operator new(unsigned int)\n"
            "                0x004015e0                ClassesInitialization()\n";
        return std::vector<uint8_t>(text.begin(), text.end());
    }());
    LinkMap map = ReadLinkMap(path);
    EXPECT_EQ(map.ImageBase, 0x400000u);
    EXPECT_EQ(map.Address("TApplication::HandleException"), 0x4015b0u);
    EXPECT_EQ(map.Address("operator new"), 0x4015c8u);
    EXPECT_EQ(map.SizeAt(0x4015b0), 0x18u);
    EXPECT_EQ(map.Address("TApplication::ShowException"), 0u);
    EXPECT_EQ(map.Address("__image_base__"), 0u); // an assignment, not a symbol
    DeleteFileA(path.c_str());
    EXPECT_THROW(ReadLinkMap(path), LinkMapError);
}

// Lines may end in CR LF; an address wider than 32 bits is no address of this image.
TEST(LinkMap, TakesCrLfLinesAndRefusesWideAddresses) {
    const std::string path = "link_map_test.map";
    const auto mapOf = [&](const std::string& text) {
        WriteNewFile(path, std::vector<uint8_t>(text.begin(), text.end()));
        return ReadLinkMap(path);
    };
    const std::string base =
        "                0x00400000                __image_base__ = 0x400000\r\n";
    const LinkMap map = mapOf(base + "                0x004015b0                Run()\r\n");
    EXPECT_EQ(map.ImageBase, 0x400000u);
    EXPECT_EQ(map.Address("Run"), 0x4015b0u);
    EXPECT_THROW(mapOf(base + "                0x1004015b0               Run()\r\n"), LinkMapError);
    DeleteFileA(path.c_str());
}

} // namespace
