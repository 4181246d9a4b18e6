// The block cipher with the process-wide key: key derivation, chained buffers, the short tail.
#include "reporter/base/cipher_key.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<uint8_t> Counting(size_t length) {
    std::vector<uint8_t> bytes(length);
    for (size_t i = 0; i < length; ++i)
        bytes[i] = uint8_t(i);
    return bytes;
}

TEST(CipherKey, IsThePasswordsMd5ReadAsBigEndianWords) {
    // MD5 of "abc" is 90015098 3cd24fb0 d6963f7d 28e17f72.
    const TCipherKey expected = {0x90015098, 0x3CD24FB0, 0xD6963F7D, 0x28E17F72};
    EXPECT_EQ(CipherKeyFromPassword("abc"), expected);
}

// Two whole blocks and a four-byte tail, worked out separately from the cipher's definition.
TEST(BlockCipher, EncryptsAChainedBufferToTheReferenceBytes) {
    SetCipherKey("secret");
    std::vector<uint8_t> bytes = Counting(20);
    EncryptBuffer(bytes.data(), bytes.size());
    const std::vector<uint8_t> expected = {0x47, 0x84, 0x01, 0xB5, 0x40, 0xCB, 0x84,
                                           0xE5, 0x45, 0xF9, 0xA8, 0x9B, 0xFC, 0x0B,
                                           0xC6, 0x70, 0xD1, 0x2C, 0xDE, 0xBA};
    EXPECT_EQ(bytes, expected);
}

TEST(BlockCipher, DecryptBufferUndoesEncryptBufferForAnyLength) {
    SetCipherKey("round trip");
    for (size_t length : {0u, 1u, 7u, 8u, 12u, 16u, 23u}) {
        const std::vector<uint8_t> plain = Counting(length);
        std::vector<uint8_t> bytes = plain;
        EncryptBuffer(bytes.data(), bytes.size());
        if (length > 0) {
            EXPECT_NE(bytes, plain) << length;
        }
        DecryptBuffer(bytes.data(), bytes.size());
        EXPECT_EQ(bytes, plain) << length;
    }
}

TEST(BlockCipher, DecryptBufferChainsTheBlockAndXorsTheTailWithTheEncryptedChain) {
    SetCipherKey("pw");
    const TBlockCipher cipher(CipherKeyFromPassword("pw"));
    const std::vector<uint8_t> cipherText = Counting(12);

    std::vector<uint8_t> expected = cipherText;
    cipher.DecryptBlock(expected.data());
    for (size_t i = 0; i < 8; ++i)
        expected[i] ^= 0xFF;
    std::vector<uint8_t> chain(cipherText.begin(), cipherText.begin() + 8);
    cipher.EncryptBlock(chain.data());
    for (size_t i = 8; i < 12; ++i)
        expected[i] ^= chain[i - 8];

    std::vector<uint8_t> bytes = cipherText;
    DecryptBuffer(bytes.data(), bytes.size());
    EXPECT_EQ(bytes, expected);
}

TEST(BlockCipher, ABufferIsReadWithTheKeyLastSet) {
    SetCipherKey("first");
    std::vector<uint8_t> bytes = Counting(16);
    EncryptBuffer(bytes.data(), bytes.size());
    SetCipherKey("second");
    DecryptBuffer(bytes.data(), bytes.size());
    EXPECT_NE(bytes, Counting(16));
}

} // namespace
