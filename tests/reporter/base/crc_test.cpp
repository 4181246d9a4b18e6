// CRC-32 and CRC-16 against their published check values.
#include "reporter/base/crc16.h"
#include "reporter/base/crc32.h"
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string kCheckInput = "123456789";

TEST(Crc32, MatchesTheCheckValueAndIsZeroForNoBytes) {
    EXPECT_EQ(Crc32(kCheckInput), 0xCBF43926u);
    EXPECT_EQ(Crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
    EXPECT_EQ(Crc32(""), 0u);
}

TEST(Crc32, PiecesFedOneAfterAnotherGiveTheCrcOfTheWhole) {
    uint32_t crc = 0;
    for (const char* piece : {"1", "", "2345", "6789"})
        crc = Crc32Update(crc, piece);
    EXPECT_EQ(crc, 0xCBF43926u);
}

TEST(Crc16, MatchesTheXmodemCheckValue) {
    EXPECT_EQ(Crc16(kCheckInput), 0x31C3);
    EXPECT_EQ(Crc16(""), 0);
}

} // namespace
