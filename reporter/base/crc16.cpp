#include "reporter/base/crc16.h"
#include <array>

namespace {

constexpr uint16_t kPolynomial = 0x1021;

constexpr std::array<uint16_t, 256> MakeTable() {
    std::array<uint16_t, 256> table{};
    for (uint32_t index = 0; index < table.size(); ++index) {
        uint16_t remainder = uint16_t(index << 8);
        for (int bit = 0; bit < 8; ++bit)
            remainder =
                uint16_t(remainder & 0x8000 ? remainder << 1 ^ kPolynomial : remainder << 1);
        table[index] = remainder;
    }
    return table;
}
constexpr std::array<uint16_t, 256> kTable = MakeTable();

} // namespace

uint16_t Crc16(std::string_view text) {
    uint16_t crc = 0;
    for (char byte : text)
        crc = uint16_t(crc << 8 ^ kTable[(crc >> 8 ^ uint8_t(byte)) & 0xFF]);
    return crc;
}
