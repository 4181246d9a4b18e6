#include "reporter/base/base64.h"
#include <array>
#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPadding = '=';

constexpr std::array<uint8_t, 256> MakeDecodeTable() {
    std::array<uint8_t, 256> table{};
    for (uint8_t value = 0; value < 64; ++value)
        table[uint8_t(kAlphabet[value])] = value;
    return table;
}
constexpr std::array<uint8_t, 256> kDecodeTable = MakeDecodeTable();

// Appends the four characters for up to three bytes; missing bytes become padding.
void EncodeGroup(std::string_view bytes, std::string& text) {
    uint32_t group = 0;
    for (size_t i = 0; i < 3; ++i)
        group = group << 8 | (i < bytes.size() ? uint8_t(bytes[i]) : 0);
    for (size_t i = 0; i < 4; ++i)
        text += i <= bytes.size() ? kAlphabet[group >> (18 - 6 * i) & 0x3F] : kPadding;
}

void DecodeGroup(std::string_view characters, std::string& bytes) {
    uint32_t group = 0;
    for (char c : characters)
        group = group << 6 | kDecodeTable[uint8_t(c)];
    for (size_t i = 0; i < 3; ++i)
        bytes += char(group >> (16 - 8 * i));
}

size_t DecodedLength(std::string_view text) {
    size_t length = text.size() / 4 * 3;
    if (text[text.size() - 2] == kPadding)
        return length - 2;
    if (text.back() == kPadding)
        return length - 1;
    return length;
}

} // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3)
        EncodeGroup(bytes.substr(i, 3), text);
    return text;
}

std::string Base64Decode(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0)
        return {};
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4)
        DecodeGroup(text.substr(i, 4), bytes);
    bytes.resize(DecodedLength(text));
    return bytes;
}
