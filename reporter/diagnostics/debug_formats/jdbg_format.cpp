#include "reporter/diagnostics/debug_formats/jdbg_format.h"

namespace {

constexpr size_t kMaxName = 255;
constexpr uint8_t kTextMark = 1;
constexpr uint8_t kAtMark = 2;
constexpr uint8_t kTextKey = 0xAA;
constexpr unsigned kMaxGroups = 5; // 35 bits hold every 32-bit value

std::string KeyedText(TByteView data, size_t at) {
    std::string text;
    for (; data.Has(at, 1) && data.U8(at) != 0 && text.size() < kMaxName; ++at) {
        const uint8_t stored = data.U8(at);
        text += char(stored == kTextKey ? stored : stored ^ kTextKey);
    }
    return text;
}

char PackedCharacter(unsigned code) {
    if (code <= 10)
        return char('0' + code - 1);
    if (code <= 36)
        return char('A' + code - 11);
    if (code <= 62)
        return char('a' + code - 37);
    return '_';
}

// Three bytes of the stream, little-endian; bytes past the end read as 0, which ends the name.
uint32_t PackedGroup(TByteView data, size_t at) {
    uint32_t bits = 0;
    for (size_t i = 0; i < 3; ++i)
        if (data.Has(at + i, 1))
            bits |= uint32_t(data.U8(at + i)) << (8 * i);
    return bits;
}

std::string PackedText(TByteView data, size_t at) {
    std::string text;
    for (;; at += 3) {
        const uint32_t bits = PackedGroup(data, at);
        for (unsigned i = 0; i < 4; ++i) {
            const unsigned code = (bits >> (6 * i)) & 0x3F;
            if (code == 0 || text.size() == kMaxName)
                return text;
            text += PackedCharacter(code);
        }
    }
}

} // namespace

uint32_t ReadJdbgNumber(TByteView data, size_t& at) {
    uint32_t value = 0;
    for (unsigned group = 0; group < kMaxGroups; ++group) {
        const uint8_t byte = data.U8(at++);
        value |= uint32_t(byte & 0x7F) << (7 * group);
        if (!(byte & 0x80))
            return value;
    }
    throw EStreamReadError("A number of the debug data does not end.");
}

std::string JdbgPoolName(TByteView data, size_t at) {
    if (!data.Has(at, 1))
        return {};
    switch (data.U8(at)) {
    case kTextMark:
        return KeyedText(data, at + 1);
    case kAtMark:
        return ("@" + PackedText(data, at + 1)).substr(0, kMaxName);
    default:
        return PackedText(data, at);
    }
}
