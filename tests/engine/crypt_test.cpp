#include "paradox_crypt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Checksum of "123", the key of a table protected with that password.
constexpr uint32_t kKey = 0x0A25E09A;

// Bytes that differ by position and by 256-byte chunk, so a misplaced byte or a chunk keyed
// with the wrong index changes the ciphertext.
std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = uint8_t(i * 7 + (i >> 8));
    }
    return bytes;
}

// Fingerprint of a whole ciphertext, so a reference vector stays short.
uint64_t Fnv1a(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (uint8_t b : bytes) {
        hash = (hash ^ b) * 0x100000001B3ull;
    }
    return hash;
}

std::array<uint8_t, 16> Head(const std::vector<uint8_t>& bytes) {
    std::array<uint8_t, 16> head{};
    std::copy_n(bytes.begin(), head.size(), head.begin());
    return head;
}

TEST(PasswordChecksum, MatchesKnownValues) {
    struct Case {
        std::string password;
        uint32_t checksum;
    };
    const Case cases[] = {
        {"", 0},
        {"123", kKey},
        {"test", 0x20E26198},
        {"TEST", 0xDC12B42A},
        {"rparadox", 0x8848F16E},
        {"a", 0x35FFEEAB},
        {"\xE4\xF6\xFC", 0xBFA1ED65}, // bytes above 0x7F must not be taken as negative
        {",3V", 0x00014071},          // high half folds to 0, stored as 1 to keep 0 for "none"
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pdx::PasswordChecksum(c.password), c.checksum) << '"' << c.password << '"';
    }
}

// Reference ciphertexts of Pattern(). Block 400 (0x190) checks that exactly the low byte of
// the block number takes part.
TEST(DataBlockCipher, MatchesReferenceCiphertext) {
    struct Case {
        uint32_t key;
        size_t size;
        uint32_t blockNumber;
        std::array<uint8_t, 16> head;
        uint64_t fingerprint;
    };
    const Case cases[] = {
        {kKey,
         2048,
         1,
         {0xD9, 0x42, 0x5D, 0xF3, 0x47, 0x84, 0xFB, 0xDD, 0x65, 0x3C, 0x02, 0xAE, 0x18, 0x98, 0xE6,
          0x5E},
         0x45D8FD4BA2992489ull},
        {0x12345678,
         1024,
         2,
         {0xC1, 0xD0, 0x79, 0x55, 0x13, 0x2C, 0xF8, 0xE2, 0xDC, 0xA4, 0x0A, 0xA0, 0xB5, 0x53, 0xAE,
          0x60},
         0xAE38D7744BA0A4E9ull},
        {0xFFFF,
         4096,
         400,
         {0x73, 0x65, 0xF8, 0x02, 0x59, 0xB3, 0xAB, 0x47, 0x81, 0xCC, 0x8E, 0x99, 0xCC, 0x90, 0xA0,
          0x1A},
         0xDEBC309F5B513BC9ull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "key " << std::hex << c.key << " block " << std::dec << c.blockNumber);
        std::vector<uint8_t> bytes = Pattern(c.size);
        pdx::EncryptDataBlock(bytes.data(), bytes.size(), c.key, c.blockNumber);
        EXPECT_EQ(Head(bytes), c.head);
        EXPECT_EQ(Fnv1a(bytes), c.fingerprint);

        pdx::DecryptDataBlock(bytes.data(), bytes.size(), c.key, c.blockNumber);
        EXPECT_EQ(bytes, Pattern(c.size));
    }
}

TEST(DataBlockCipher, RoundTripsAFileOfEqualBlocks) {
    constexpr size_t kBlockSize = 2048;
    constexpr uint32_t kBlocks = 3;
    const std::vector<uint8_t> plain = Pattern(kBlockSize);
    std::vector<std::vector<uint8_t>> file(kBlocks, plain);
    for (uint32_t n = 1; n <= kBlocks; ++n) {
        pdx::EncryptDataBlock(file[n - 1].data(), kBlockSize, kKey, n);
    }

    // The block number is part of the key: equal blocks must not encrypt alike.
    EXPECT_NE(file[0], plain);
    EXPECT_NE(file[0], file[1]);
    EXPECT_NE(file[1], file[2]);
    EXPECT_NE(file[0], file[2]);

    for (uint32_t n = 1; n <= kBlocks; ++n) {
        pdx::DecryptDataBlock(file[n - 1].data(), kBlockSize, kKey, n);
        EXPECT_EQ(file[n - 1], plain) << "block " << n;
    }
}

// The high half of the stored checksum only checks the password, so tables can be read with
// the low half alone.
TEST(DataBlockCipher, IgnoresTheHighHalfOfTheKey) {
    std::vector<uint8_t> full = Pattern(1024);
    std::vector<uint8_t> low = full;
    pdx::EncryptDataBlock(full.data(), full.size(), kKey, 1);
    pdx::EncryptDataBlock(low.data(), low.size(), kKey & 0xFFFF, 1);
    EXPECT_EQ(full, low);
}

// Reference ciphertexts of Pattern(); with key 0xFFFF the derived chunk parameters wrap.
TEST(BlobCipher, MatchesReferenceCiphertext) {
    struct Case {
        uint32_t key;
        std::array<uint8_t, 16> head;
        uint64_t fingerprint;
    };
    const Case cases[] = {
        {kKey,
         {0x4E, 0x8F, 0x04, 0x37, 0x54, 0x3A, 0x84, 0xFA, 0xC6, 0xAA, 0xE1, 0x90, 0xBE, 0x32, 0x02,
          0xE9},
         0xAA0261A56E1D1B05ull},
        {0xFFFF,
         {0x39, 0xEC, 0x8A, 0xDD, 0x87, 0x89, 0x01, 0x88, 0x0D, 0xF9, 0xE3, 0xAB, 0x67, 0x1F, 0x22,
          0xBD},
         0xE93DD497FFFF2AE9ull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << std::hex << c.key);
        std::vector<uint8_t> bytes = Pattern(512);
        pdx::EncryptBlobBytes(bytes.data(), bytes.size(), 0, c.key);
        EXPECT_EQ(Head(bytes), c.head);
        EXPECT_EQ(Fnv1a(bytes), c.fingerprint);
    }
}

// A reader decrypts only the .MB blocks it needs, at their own offsets.
TEST(BlobCipher, DecryptsAnyAlignedPartOfTheFile) {
    constexpr size_t kHeaderSize = 4096;
    const std::vector<uint8_t> plain = Pattern(3 * kHeaderSize);
    std::vector<uint8_t> file = plain;
    pdx::EncryptBlobBytes(file.data(), file.size(), 0, kKey);
    ASSERT_NE(file, plain);

    pdx::DecryptBlobBytes(file.data() + kHeaderSize, 2 * kHeaderSize, kHeaderSize, kKey);
    EXPECT_TRUE(std::equal(plain.begin() + kHeaderSize, plain.end(), file.begin() + kHeaderSize));
    pdx::DecryptBlobBytes(file.data(), kHeaderSize, 0, kKey);
    EXPECT_EQ(file, plain);
}

} // namespace
