// JDBG debug data: lookups, names in every encoding, and data that must be refused.
#include "fixture_bytes.h"
#include "jdbg_writer.h"
#include "reporter/diagnostics/debug_formats/jdbg_scanner.h"
#include <gtest/gtest.h>

namespace {

// Units Alpha (from 0) and Beta (from 0x100); Beta's first symbol and line come after its start.
std::vector<uint8_t> Fixture() {
    TJdbgWriter jdbg;
    jdbg.Unit(0, jdbg.Name("Alpha"));
    jdbg.Unit(0x100, jdbg.Name("Beta"));
    jdbg.Source(0, jdbg.Name("Alpha.pas", TJdbgNameForm::KeyedText));
    jdbg.Source(0x100, jdbg.Name("C:\\Caf\xAA\\Beta.pas", TJdbgNameForm::KeyedText));
    jdbg.Symbol(0x10, jdbg.Name("TThing"), jdbg.Name("Paint"));
    jdbg.Symbol(0x40, jdbg.Name("Helper"));
    jdbg.Symbol(0x108, jdbg.Name("Finish", TJdbgNameForm::AtPacked));
    jdbg.Line(0x10, 10);
    jdbg.Line(0x18, 11);
    jdbg.Line(0x40, 20);
    jdbg.Line(0x108, 30);
    return jdbg.Bytes();
}

TEST(JdbgScanner, AnswersEveryQuestionByOffset) {
    const TKFBinDebugScanner jdbg(Fixture());
    ASSERT_TRUE(jdbg.ValidFormat());
    EXPECT_EQ(jdbg.UnitAt(0x20), "Alpha");
    EXPECT_EQ(jdbg.UnitAt(0x180), "Beta");
    EXPECT_EQ(jdbg.UnitStartAt(0x180), 0x100u);
    const TKFProcAt paint = jdbg.ProcAt(0x1C);
    EXPECT_EQ(paint.Name, "TThing.Paint");
    EXPECT_EQ(paint.Offset, 0xCu);
    EXPECT_EQ(jdbg.ProcAt(0x44).Name, "Helper");
    EXPECT_EQ(jdbg.ProcAt(0x10A).Name, "@Finish");
    const TKFLineAt line = jdbg.LineAt(0x1C);
    EXPECT_EQ(line.Line, 11);
    EXPECT_EQ(line.Offset, 4u);
    EXPECT_EQ(jdbg.SourceAt(0x1C), "Alpha.pas");
    EXPECT_EQ(jdbg.SourceAt(0x10A), "C:\\Caf\xAA\\Beta.pas");
}

TEST(JdbgScanner, AnswersOnlyFromTheUnitOfTheOffset) {
    const TKFBinDebugScanner jdbg(Fixture());
    EXPECT_EQ(jdbg.ProcAt(0x104).Name, "");
    EXPECT_EQ(jdbg.LineAt(0x104).Line, 0);
    EXPECT_EQ(jdbg.ProcAt(0x8).Name, "");
}

TEST(JdbgScanner, PackedNamesEndAt255Characters) {
    TJdbgWriter jdbg;
    jdbg.Unit(0, jdbg.Name(std::string(300, 'x')));
    jdbg.Symbol(0, jdbg.Name(std::string(300, 'y'), TJdbgNameForm::AtPacked));
    const TKFBinDebugScanner scanner(jdbg.Bytes());
    EXPECT_EQ(scanner.UnitAt(0), std::string(255, 'x'));
    EXPECT_EQ(scanner.ProcAt(0).Name, "@" + std::string(254, 'y'));
}

TEST(JdbgScanner, RefusesDataOfBadLengthSignatureOrChecksum) {
    const std::vector<uint8_t> good = Fixture();
    std::vector<uint8_t> oddLength = good;
    oddLength.push_back(0);
    std::vector<uint8_t> shortData(good.begin(), good.begin() + 32);
    std::vector<uint8_t> badSignature = good;
    badSignature[3] = 'X';
    std::vector<uint8_t> badVersion = good;
    badVersion[4] = 2;
    std::vector<uint8_t> badChecksum = good;
    badChecksum.back() ^= 1;
    std::vector<uint8_t> badSum = good;
    PutU32(badSum, 29, GetU32(badSum, 29) + 1);
    for (const auto& data : {oddLength, shortData, badSignature, badVersion, badChecksum, badSum})
        EXPECT_FALSE(TKFBinDebugScanner(data).ValidFormat());

    // Without a checksum, the same change is taken as it is.
    TJdbgWriter unchecked;
    unchecked.Unit(0, unchecked.Name("Alpha"));
    std::vector<uint8_t> changed = unchecked.Bytes(false);
    changed.back() ^= 1;
    EXPECT_TRUE(TKFBinDebugScanner(changed).ValidFormat());
}

TEST(JdbgScanner, SurvivesDamageAnywhere) {
    const std::vector<uint8_t> good = Fixture();
    for (size_t at = 0; at < good.size(); ++at) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(0x80)}) {
            std::vector<uint8_t> data = good;
            data[at] = value;
            // With the checksum switched off the damage reaches the lists and the pool.
            data[33] = 0;
            const TKFBinDebugScanner jdbg(data);
            jdbg.UnitAt(0x180);
            jdbg.ProcAt(0x10A);
            jdbg.SourceAt(0x10A);
        }
    }
}

} // namespace
