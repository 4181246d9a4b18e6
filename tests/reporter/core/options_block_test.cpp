#include "options_test_support.h"
#include "reporter/core/options/options_block.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> BlockOf(const TVessarModuleOptions& options) {
    ByteWriter writer;
    options.SaveToStream(writer);
    return writer.Data();
}

std::vector<uint8_t> Scrambled(const std::string& text) {
    std::vector<uint8_t> bytes;
    for (char c : text)
        bytes.push_back(static_cast<uint8_t>(c ^ 0x5A));
    return bytes;
}

TEST(OptionsBlock, RoundTripRestoresEveryStoredFieldAndNothingElse) {
    TVessarModuleOptions original(TestProgramFileName());
    SetEveryFieldAwayFromDefault(original);
    std::vector<uint8_t> block = BlockOf(original);

    TVessarModuleOptions loaded("");
    ByteReader reader(block);
    loaded.LoadFromStream(reader);

    EXPECT_EQ(reader.Remaining(), 0u);
    EXPECT_TRUE(loaded.Stored() == original.Stored());
    EXPECT_TRUE(loaded.FreezeCheck());
    EXPECT_EQ(FilterList(loaded.Filters()), FilterList(original.Filters()));
    EXPECT_EQ(loaded.ReproduceText(), "");
    EXPECT_TRUE(loaded.Enabled());
    EXPECT_EQ(loaded.BeforeBuildCommand(), "");
    EXPECT_EQ(loaded.AfterBuildCommand(), "");
    EXPECT_EQ(loaded.FailedBuildCommand(), "");
    EXPECT_EQ(loaded.ModuleName(), "");
    EXPECT_EQ(loaded.ModuleHandle(), nullptr);
}

TEST(OptionsBlock, StringsAreCountedScrambledAndLoseOnlyASoleTrailingLineBreak) {
    const struct {
        std::string text;
        std::string written;
    } cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"abc\r\n", "abc"},
        {"\r\n", ""},
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        {"a\r\n\r\n", "a\r\n\r\n"},
        {"abc\n", "abc\n"},
    };
    for (const auto& c : cases) {
        ByteWriter writer;
        WriteBlockString(writer, c.text);
        std::vector<uint8_t> expected = {uint8_t(c.written.size()), 0, 0, 0};
        std::vector<uint8_t> body = Scrambled(c.written);
        expected.insert(expected.end(), body.begin(), body.end());
        EXPECT_EQ(writer.Data(), expected) << c.text;

        ByteReader reader(writer.Data());
        EXPECT_EQ(ReadBlockString(reader), c.written);
    }
}

TEST(OptionsBlock, AStringCostsItsLengthPlusFour) {
    TVessarModuleOptions options("");
    size_t defaultSize = BlockOf(options).size();
    options.SetMailUser("12345");
    EXPECT_EQ(BlockOf(options).size(), defaultSize + 5);
}

TEST(OptionsBlock, TruncatedBlocksAreRefusedAndChangeNothing) {
    TVessarModuleOptions source("");
    SetEveryFieldAwayFromDefault(source);
    std::vector<uint8_t> block = BlockOf(source);
    TVessarModuleOptions target("");
    target.SetMailServer("kept");

    // Each length cuts some field short; past the first fields every seventh keeps the run short.
    for (size_t length = 0; length < block.size(); length += length < 64 ? 1 : 7) {
        std::vector<uint8_t> truncated(block.begin(), block.begin() + length);
        ByteReader reader(truncated);
        EXPECT_THROW(target.LoadFromStream(reader), EStreamReadError) << length;
    }
    EXPECT_EQ(target.Stored().MailServer, "kept");
    EXPECT_EQ(target.UpdateDepth(), 0);
}

TEST(OptionsBlock, DamagedLengthsAreRefused) {
    const std::vector<std::vector<uint8_t>> lengths = {
        {0xFF, 0xFF, 0xFF, 0xFF}, // negative
        {0xFF, 0xFF, 0xFF, 0x7F}, // far past the end
    };
    for (const auto& length : lengths) {
        std::vector<uint8_t> block(15, 0);
        // The fixed fields before MailSender take 11 bytes.
        std::copy(length.begin(), length.end(), block.begin() + 11);
        ByteReader reader(block);
        TVessarModuleOptions options("");
        EXPECT_THROW(options.LoadFromStream(reader), EStreamReadError);
    }
}

TEST(OptionsBlock, FilesHoldTheBlockAndMissingFilesAreNamedInTheError) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string fileName = std::string(folder) + "vessar_options_test.bin";
    TVessarModuleOptions original("");
    SetEveryFieldAwayFromDefault(original);
    original.SaveToFile(fileName);

    TVessarModuleOptions loaded("");
    loaded.LoadFromFile(fileName);
    EXPECT_TRUE(loaded.Stored() == original.Stored());
    DeleteFileA(fileName.c_str());

    try {
        loaded.LoadFromFile(fileName);
        FAIL() << "no exception";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find(fileName), std::string::npos) << error.Message();
    }
}

// Where the string `text` (its length field) stands in `block`.
size_t StringPosition(const std::vector<uint8_t>& block, const std::string& text) {
    ByteWriter field;
    WriteBlockString(field, text);
    auto found = std::search(block.begin(), block.end(), field.Data().begin(), field.Data().end());
    return static_cast<size_t>(found - block.begin());
}

// The block as containers before 6000 held it: DialogFlags in one byte, and filters without
// Enabled, Scope, Dialog, Handling and AfterAction. Needs a DialogFlags below 0x100 and an
// AttachedFileList and filter texts that stand nowhere else in the block.
std::vector<uint8_t> OldBlockOf(const TVessarModuleOptions& options) {
    std::vector<uint8_t> block = BlockOf(options);
    const std::string& attached = options.Stored().AttachedFileList;
    size_t sendFlags = StringPosition(block, attached) + 4 + attached.size();
    block.erase(block.begin() + sendFlags + 3); // high byte of DialogFlags
    for (size_t i = 0; i < options.Filters().Count(); ++i) {
        const TVessarExceptionFilter& filter = options.Filters().Items(i);
        size_t className = StringPosition(block, filter.ClassName);
        size_t extras = className + 8 + filter.ClassName.size() + filter.CustomMessage.size();
        block.erase(block.begin() + extras, block.begin() + extras + 4);
        block.erase(block.begin() + className - 1);
    }
    return block;
}

TEST(OptionsBlock, OlderBlocksAreConverted) {
    const struct {
        int version;
        const char* mailServer;
        uint8_t mailMethod;
        int32_t freezeSeconds;
    } cases[] = {
        {421, "smtp.example.org", 2, 5},
        {449, "", 1, 5000},
        {5999, "", 3, 5000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        TVessarModuleOptions old("");
        old.SetMailServer(c.mailServer);
        old.SetMailMethod(3);
        old.SetFreezeSeconds(5000);
        old.SetFirstTab(3);
        old.SetSendFlags(0x0251);
        old.SetDialogFlags(0x00AB);
        old.SetStackFlags(0x03);
        old.SetBehaviourFlags(0x0108);
        old.SetReportFields(0x1);
        old.SetAttachedFileList("attached.txt");
        old.Filters().Add({true, "EOldWithMessage", "Careful", 1, 1, 2, 1});
        old.Filters().Add({true, "EOldSilent", "", 1, 1, 2, 1});
        old.SetTextsLanguage("Old texts");
        std::vector<uint8_t> block = OldBlockOf(old);

        TVessarModuleOptions loaded("");
        ByteReader reader(block);
        loaded.LoadFromStream(reader, c.version);

        const TVessarStoredOptions& o = loaded.Stored();
        EXPECT_EQ(o.MailMethod, c.mailMethod);
        EXPECT_EQ(o.FreezeSeconds, c.freezeSeconds);
        EXPECT_EQ(o.FirstTab, 5);
        EXPECT_EQ(o.SendFlags, 0x0051);
        EXPECT_EQ(o.DialogFlags, 0x00AB);
        EXPECT_EQ(o.StackFlags, 0x13);
        EXPECT_EQ(o.BehaviourFlags, 0);
        EXPECT_EQ(o.ReportFields, kAllReportFields);
        EXPECT_EQ(
            FilterList(loaded.Filters()),
            (std::vector<TVessarExceptionFilter>{{true, "EOldWithMessage", "Careful", 2, 2, 0, 0},
                                                 {true, "EOldSilent", "", 2, 0, 0, 0}}));
        EXPECT_EQ(o.TextsLanguage, "Old texts");
        EXPECT_EQ(reader.Remaining(), 0u);
    }
}

} // namespace
