#include "reporter/base/block_cipher.h"
#include "reporter/base/big_endian.h"
#include <algorithm>

namespace {

constexpr int kRounds = 32;
constexpr uint32_t kDelta = 0x9E3779B9;
constexpr uint32_t kDecryptionStartSum = kDelta * kRounds; // 0xC6EF3720, modulo 2^32

constexpr std::array<uint8_t, TBlockCipher::kBlockSize> kInitialChain = {0xFF, 0xFF, 0xFF, 0xFF,
                                                                         0xFF, 0xFF, 0xFF, 0xFF};

void XorInto(uint8_t* target, const uint8_t* source, size_t length) {
    for (size_t i = 0; i < length; ++i)
        target[i] ^= source[i];
}

} // namespace

uint32_t TBlockCipher::RoundTermOfZ(uint32_t z, uint32_t sum) const {
    return (z << 4) + (z ^ key_[0]) + ((z >> 5) ^ sum) + key_[1];
}

uint32_t TBlockCipher::RoundTermOfY(uint32_t y, uint32_t sum) const {
    return (y << 4) + (key_[2] ^ y) + ((y >> 5) ^ sum) + key_[3];
}

void TBlockCipher::EncryptBlock(uint8_t* block) const {
    uint32_t y = ReadBigEndian32(block);
    uint32_t z = ReadBigEndian32(block + 4);
    uint32_t sum = 0;
    for (int round = 0; round < kRounds; ++round) {
        sum += kDelta;
        y += RoundTermOfZ(z, sum);
        z += RoundTermOfY(y, sum);
    }
    WriteBigEndian32(block, y);
    WriteBigEndian32(block + 4, z);
}

void TBlockCipher::DecryptBlock(uint8_t* block) const {
    uint32_t y = ReadBigEndian32(block);
    uint32_t z = ReadBigEndian32(block + 4);
    uint32_t sum = kDecryptionStartSum;
    for (int round = 0; round < kRounds; ++round) {
        z -= RoundTermOfY(y, sum);
        y -= RoundTermOfZ(z, sum);
        sum -= kDelta;
    }
    WriteBigEndian32(block, y);
    WriteBigEndian32(block + 4, z);
}

void TBlockCipher::EncryptBuffer(uint8_t* bytes, size_t length) const {
    Block chain = kInitialChain;
    const size_t wholeBlocks = length - length % kBlockSize;
    for (uint8_t* block = bytes; block < bytes + wholeBlocks; block += kBlockSize) {
        XorInto(block, chain.data(), kBlockSize);
        EncryptBlock(block);
        std::copy_n(block, kBlockSize, chain.begin());
    }
    XorTail(chain, bytes + wholeBlocks, length - wholeBlocks);
}

void TBlockCipher::DecryptBuffer(uint8_t* bytes, size_t length) const {
    Block chain = kInitialChain;
    const size_t wholeBlocks = length - length % kBlockSize;
    for (uint8_t* block = bytes; block < bytes + wholeBlocks; block += kBlockSize) {
        Block cipherText;
        std::copy_n(block, kBlockSize, cipherText.begin());
        DecryptBlock(block);
        XorInto(block, chain.data(), kBlockSize);
        chain = cipherText;
    }
    XorTail(chain, bytes + wholeBlocks, length - wholeBlocks);
}

// The same in both directions, so a tail needs no padding.
void TBlockCipher::XorTail(Block chain, uint8_t* tail, size_t length) const {
    if (length == 0)
        return;
    EncryptBlock(chain.data());
    XorInto(tail, chain.data(), length);
}
