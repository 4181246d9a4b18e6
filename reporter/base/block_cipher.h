// The 64-bit block cipher that protects debug information and log entries: 32 rounds with a
// 128-bit key, each block read as two big-endian words. Buffers are chained from eight 0xFF
// bytes; a final part shorter than a block is XOR-ed with the encrypted chaining value.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

using TCipherKey = std::array<uint32_t, 4>;

class TBlockCipher {
  public:
    static constexpr size_t kBlockSize = 8;

    explicit TBlockCipher(const TCipherKey& key) : key_(key) {}

    // One block of kBlockSize bytes, in place.
    void EncryptBlock(uint8_t* block) const;
    void DecryptBlock(uint8_t* block) const;

    // Any length, in place.
    void EncryptBuffer(uint8_t* bytes, size_t length) const;
    void DecryptBuffer(uint8_t* bytes, size_t length) const;

  private:
    using Block = std::array<uint8_t, kBlockSize>;

    uint32_t RoundTermOfZ(uint32_t z, uint32_t sum) const;
    uint32_t RoundTermOfY(uint32_t y, uint32_t sum) const;
    void XorTail(Block chain, uint8_t* tail, size_t length) const;

    TCipherKey key_;
};
