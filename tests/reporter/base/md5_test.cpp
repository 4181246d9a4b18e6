// MD5 against the RFC 1321 test suite, the padding boundary, and input fed in pieces.
#include "reporter/base/md5.h"
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string Hex(const TMd5Digest& digest) {
    std::string hex;
    for (uint8_t byte : digest) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    return hex;
}

const std::string kEightyDigits =
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890";

struct Vector {
    std::string message;
    std::string digest;
};

TEST(Md5, MatchesTheRfc1321Suite) {
    const Vector vectors[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {kEightyDigits, "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Vector& vector : vectors)
        EXPECT_EQ(Hex(Md5(vector.message)), vector.digest) << vector.message;
}

// 55 bytes leave room for the length in the last block, 56 need one more block.
TEST(Md5, PadsAroundTheLengthFieldBoundary) {
    EXPECT_EQ(Hex(Md5(std::string(55, 'a'))), "ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(Hex(Md5(std::string(56, 'a'))), "3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(Hex(Md5(std::string(64, 'a'))), "014842d480b571495a4a0363793f7367");
}

TEST(Md5, PiecesOfAnySizeGiveTheDigestOfTheWhole) {
    TMd5 md5;
    md5.Update(kEightyDigits.substr(0, 1));
    md5.Update("");
    md5.Update(kEightyDigits.substr(1, 70));
    md5.Update(kEightyDigits.substr(71));
    EXPECT_EQ(Hex(md5.Finish()), "57edf4a22be3c955ac49da2e2107b67a");
}

} // namespace
