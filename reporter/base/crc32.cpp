#include "reporter/base/crc32.h"
#include <array>

namespace {

using Crc32Table = std::array<uint32_t, 256>;

// Exponents of the generator polynomial's terms below x^32.
constexpr int kPolynomialExponents[] = {0, 1, 2, 4, 5, 7, 8, 10, 11, 12, 16, 22, 23, 26};

// Least significant bit first, so x^e is bit 31 - e.
uint32_t ReflectedPolynomial() {
    uint32_t polynomial = 0;
    for (int exponent : kPolynomialExponents)
        polynomial |= 1u << (31 - exponent);
    return polynomial;
}

Crc32Table MakeTable() {
    const uint32_t polynomial = ReflectedPolynomial();
    Crc32Table table;
    for (uint32_t index = 0; index < table.size(); ++index) {
        uint32_t remainder = index;
        for (int bit = 0; bit < 8; ++bit)
            remainder = remainder & 1 ? remainder >> 1 ^ polynomial : remainder >> 1;
        table[index] = remainder;
    }
    return table;
}

// Built on first use; a function-local static is initialised once even when several threads
// arrive together.
const Crc32Table& Table() {
    static const Crc32Table table = MakeTable();
    return table;
}

} // namespace

uint32_t Crc32Update(uint32_t previous, std::string_view bytes) {
    const Crc32Table& table = Table();
    uint32_t crc = ~previous;
    for (char byte : bytes)
        crc = table[(crc ^ uint8_t(byte)) & 0xFF] ^ crc >> 8;
    return ~crc;
}
