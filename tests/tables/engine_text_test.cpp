// Text for the engine: converted to its character set first, then cut to the bytes it keeps,
// never inside a double-byte character.
#include "tables/engine_text.h"
#include <gtest/gtest.h>

namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

const std::string kHiraganaA932 = "\x82\xA0";      // "あ" in Shift-JIS
const std::string kHiraganaAUtf8 = "\xE3\x81\x82"; // the same in UTF-8

struct EngineTextCase {
    const char* name;
    std::string text;
    UINT from;
    UINT to;
    std::string expected;
};

const EngineTextCase kCases[] = {
    {"ShortTextAsItIs", "secret", 1252, 1252, "secret"},
    {"ConvertedToTheEngineCodePage", "Stra\337e", 1252, 437, "Stra\341e"}, // "ß": 0xDF, 0xE1
    {"CutAt255Bytes", std::string(300, 'a'), 1252, 1252, std::string(255, 'a')},
    {"DoubleByteCharacterEndingAt255Kept", std::string(253, 'a') + kHiraganaA932, 932, 932,
     std::string(253, 'a') + kHiraganaA932},
    {"DoubleByteCharacterAcrossTheCutDropped", std::string(254, 'a') + kHiraganaA932, 932, 932,
     std::string(254, 'a')},
    // 384 bytes of UTF-8 become 256 of Shift-JIS, cut after 127 characters: cut before the
    // conversion, the same text would keep 85 characters.
    {"CutAfterTheConversion", Repeat(kHiraganaAUtf8, 128), CP_UTF8, 932,
     Repeat(kHiraganaA932, 127)},
};

class EngineTextCut : public ::testing::TestWithParam<EngineTextCase> {};

TEST_P(EngineTextCut, ConvertsThenCuts) {
    const EngineTextCase& c = GetParam();
    EXPECT_EQ(EngineText(c.text, 255, c.from, c.to), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, EngineTextCut, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
