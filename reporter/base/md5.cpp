#include "reporter/base/md5.h"
#include <algorithm>
#include <string>

namespace {

// floor(abs(sin(i + 1)) * 2^32) for step i.
constexpr uint32_t kSineTable[64] = {
    0xD76AA478, 0xE8C7B756, 0x242070DB, 0xC1BDCEEE, 0xF57C0FAF, 0x4787C62A, 0xA8304613, 0xFD469501,
    0x698098D8, 0x8B44F7AF, 0xFFFF5BB1, 0x895CD7BE, 0x6B901122, 0xFD987193, 0xA679438E, 0x49B40821,
    0xF61E2562, 0xC040B340, 0x265E5A51, 0xE9B6C7AA, 0xD62F105D, 0x02441453, 0xD8A1E681, 0xE7D3FBC8,
    0x21E1CDE6, 0xC33707D6, 0xF4D50D87, 0x455A14ED, 0xA9E3E905, 0xFCEFA3F8, 0x676F02D9, 0x8D2A4C8A,
    0xFFFA3942, 0x8771F681, 0x6D9D6122, 0xFDE5380C, 0xA4BEEA44, 0x4BDECFA9, 0xF6BB4B60, 0xBEBFBC70,
    0x289B7EC6, 0xEAA127FA, 0xD4EF3085, 0x04881D05, 0xD9D4D039, 0xE6DB99E5, 0x1FA27CF8, 0xC4AC5665,
    0xF4292244, 0x432AFF97, 0xAB9423A7, 0xFC93A039, 0x655B59C3, 0x8F0CCC92, 0xFFEFF47D, 0x85845DD1,
    0x6FA87E4F, 0xFE2CE6E0, 0xA3014314, 0x4E0811A1, 0xF7537E82, 0xBD3AF235, 0x2AD7D2BB, 0xEB86D391,
};

// Left-rotation amounts, four per round.
constexpr int kRotations[4][4] = {
    {7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

constexpr uint8_t kPaddingStart = 0x80;
constexpr size_t kLengthOffset = 56;

uint32_t RotateLeft(uint32_t value, int count) {
    return value << count | value >> (32 - count);
}

uint32_t ReadLittleEndian32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The round's auxiliary function of b, c, d.
uint32_t Mix(int round, uint32_t b, uint32_t c, uint32_t d) {
    switch (round) {
    case 0:
        return (b & c) | (~b & d);
    case 1:
        return (b & d) | (c & ~d);
    case 2:
        return b ^ c ^ d;
    default:
        return c ^ (b | ~d);
    }
}

// Which of the block's sixteen words step i takes.
int WordIndex(int round, int step) {
    static constexpr int kStart[4] = {0, 1, 5, 0};
    static constexpr int kStride[4] = {1, 5, 3, 7};
    return (kStart[round] + kStride[round] * step) % 16;
}

} // namespace

TMd5::TMd5() : state_{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476} {}

void TMd5::Update(std::string_view bytes) {
    messageLength_ += bytes.size();
    while (!bytes.empty())
        AddToBlock(bytes);
}

// Moves as much of bytes into the block as fits, and processes the block once it is full.
void TMd5::AddToBlock(std::string_view& bytes) {
    size_t count = std::min(bytes.size(), kBlockSize - blockFill_);
    std::copy_n(bytes.begin(), count, block_.begin() + blockFill_);
    bytes.remove_prefix(count);
    blockFill_ += count;
    if (blockFill_ == kBlockSize) {
        ProcessBlock();
        blockFill_ = 0;
    }
}

void TMd5::ProcessBlock() {
    uint32_t words[16];
    for (int i = 0; i < 16; ++i)
        words[i] = ReadLittleEndian32(&block_[4 * i]);
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int step = 0; step < 64; ++step) {
        const int round = step / 16;
        uint32_t sum = a + Mix(round, b, c, d) + kSineTable[step] + words[WordIndex(round, step)];
        a = d;
        d = c;
        c = b;
        b += RotateLeft(sum, kRotations[round][step % 4]);
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

TMd5Digest TMd5::Finish() {
    const uint64_t messageBits = messageLength_ * 8;
    std::string padding(1, char(kPaddingStart));
    // At least the start byte, then zeros up to the length field's place in a block.
    padding.resize((kBlockSize + kLengthOffset - blockFill_ - 1) % kBlockSize + 1, '\0');
    for (int i = 0; i < 8; ++i)
        padding += char(messageBits >> (8 * i));
    Update(padding);

    TMd5Digest digest;
    for (size_t i = 0; i < digest.size(); ++i)
        digest[i] = uint8_t(state_[i / 4] >> (8 * (i % 4)));
    return digest;
}

TMd5Digest Md5(std::string_view bytes) {
    TMd5 md5;
    md5.Update(bytes);
    return md5.Finish();
}
