#include "reporter/diagnostics/disassembly/instruction_length.h"
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

struct TEncoding {
    const char* Hex;
    unsigned Length;
    unsigned RelativeSize;
};

// Room for the longest instruction; the zeros after the encoding must not count.
std::array<std::uint8_t, 32> BytesOf(const char* hex) {
    std::array<std::uint8_t, 32> bytes{};
    unsigned value = 0;
    int consumed = 0;
    for (std::size_t count = 0; std::sscanf(hex, " %2x%n", &value, &consumed) == 1; hex += consumed)
        bytes[count++] = static_cast<std::uint8_t>(value);
    return bytes;
}

const TEncoding kEncodings[] = {
    // ModRM, SIB and displacement forms
    {"55", 1, 0},
    {"8B EC", 2, 0},
    {"8B 45 08", 3, 0},
    {"8B 85 00 01 00 00", 6, 0},
    {"8B 05 78 56 34 12", 6, 0},
    {"8B 44 24 04", 4, 0},
    {"8B 84 24 00 01 00 00", 7, 0},
    {"8B 04 25 78 56 34 12", 7, 0}, // SIB without base: disp32
    {"8B 44 25 10", 4, 0},          // SIB base 5 with mod 1 is EBP + disp8
    // 16-bit addressing under the address-size prefix: no SIB, disp16
    {"67 8B 04", 3, 0},
    {"67 8B 06 34 12", 5, 0},
    {"67 8B 46 02", 4, 0},
    {"67 8B 84 34 12", 5, 0},
    {"67 8B 44 24", 4, 0},
    // immediates by operand size
    {"B8 78 56 34 12", 5, 0},
    {"66 B8 34 12", 4, 0},
    {"81 C0 78 56 34 12", 6, 0},
    {"66 81 C0 34 12", 5, 0},
    {"66 68 34 12", 4, 0},
    {"69 C0 78 56 34 12", 6, 0},
    {"6B C0 05", 3, 0},
    {"C6 45 FC 01", 4, 0},
    {"C7 45 FC 78 56 34 12", 7, 0},
    {"66 C7 45 FC 34 12", 6, 0},
    // F6/F7: only TEST takes an immediate
    {"F6 C1 01", 3, 0},
    {"F6 4D 08 01", 4, 0},
    {"F6 D1", 2, 0},
    {"F7 C1 78 56 34 12", 6, 0},
    {"66 F7 C1 34 12", 5, 0},
    {"F7 D8", 2, 0},
    // special operand layouts
    {"C8 10 00 01", 4, 0},
    {"9A 78 56 34 12 08 00", 7, 0},
    {"66 9A 34 12 08 00", 6, 0},
    {"EA 78 56 34 12 08 00", 7, 0},
    {"A1 78 56 34 12", 5, 0},
    {"66 A1 78 56 34 12", 6, 0},
    {"67 A1 34 12", 4, 0},
    {"A2 78 56 34 12", 5, 0},
    {"C2 08 00", 3, 0},
    {"CA 04 00", 3, 0},
    {"CD 2E", 2, 0},
    {"D4 0A", 2, 0},
    {"D9 EE", 2, 0},
    {"DD 45 08", 3, 0},
    {"C4 45 08", 3, 0}, // LES with a memory operand
    // legacy prefixes
    {"F0 0F B1 0A", 4, 0},
    {"F3 A5", 2, 0},
    {"F2 0F 10 45 08", 5, 0},
    {"64 A1 18 00 00 00", 6, 0},
    {"2E FF 25 78 56 34 12", 7, 0},
    {"66 2E 0F 1F 84 00 00 00 00 00", 10, 0},
    // two-byte and three-byte maps
    {"0F B6 45 08", 4, 0},
    {"0F A2", 2, 0},
    {"0F C8", 2, 0},
    {"0F 20 05", 3, 0}, // control registers: the mod field is ignored
    {"0F 0B", 2, 0},
    {"0F A4 C2 04", 4, 0},
    {"0F BA E0 03", 4, 0},
    {"0F 70 C1 1B", 4, 0},
    {"0F C2 C1 02", 4, 0},
    {"0F 0F C1 B4", 4, 0},
    {"0F 38 00 C1", 4, 0},
    {"66 0F 38 00 44 24 04", 7, 0},
    {"66 0F 3A 0F C1 08", 6, 0},
    {"0F 3A 0F 44 24 04 08", 7, 0},
    // VEX and EVEX
    {"C5 F8 77", 3, 0},
    {"C5 F9 6F 44 24 04", 6, 0},
    {"C4 E3 79 0F C1 08", 6, 0},
    {"C4 E2 79 00 C1", 5, 0},
    {"62 F1 7C 48 10 44 24 01", 8, 0},
    // relative branches
    {"E8 00 00 00 00", 5, 4},
    {"E9 00 00 00 00", 5, 4},
    {"0F 84 00 00 00 00", 6, 4},
    {"66 0F 84 34 12", 5, 2},
    {"66 E9 34 12", 4, 2},
    {"EB 05", 2, 1},
    {"74 05", 2, 1},
    {"7F FE", 2, 1},
    {"E2 FE", 2, 1},
    {"E3 05", 2, 1},
    {"67 E3 05", 3, 1},
    {"FF 25 78 56 34 12", 6, 0}, // indirect: nothing to re-base
    {"C6 F8 03", 3, 0},          // XABORT
    {"C7 F8 00 01 00 00", 6, 4}, // XBEGIN
    {"66 C7 F8 00 01", 5, 2},
    // no instruction: the caller must refuse
    {"0F 04", 0, 0},
    {"0F 3B", 0, 0},
    {"FE D0", 0, 0},
    {"FF FF", 0, 0},
    {"8F C8", 0, 0},
    {"C6 C8 01", 0, 0},
    {"66 66 66 66 66 66 66 66 66 66 66 66 66 66 66 90", 0, 0}, // longer than 15 bytes
};

TEST(DecodeInstruction, LengthsAndRelativeBranchesOfEncodings) {
    for (const TEncoding& encoding : kEncodings) {
        const auto bytes = BytesOf(encoding.Hex);
        const TInstruction instruction = DecodeInstruction(bytes.data());
        EXPECT_EQ(instruction.Length, encoding.Length) << encoding.Hex;
        EXPECT_EQ(instruction.RelativeSize, encoding.RelativeSize) << encoding.Hex;
    }
}

TEST(BranchDestination, CountsFromTheEndOfTheInstruction) {
    const struct {
        const char* Hex;
        std::ptrdiff_t Destination;
    } branches[] = {
        {"EB FE", 0},
        {"74 02", 4},
        {"E8 FB FF FF FF", 0},
        {"E9 10 00 00 00", 21},
        {"0F 85 F0 FF FF FF", -10},
        {"66 0F 84 FC FF", 1},
    };
    for (const auto& branch : branches) {
        const auto bytes = BytesOf(branch.Hex);
        const TInstruction instruction = DecodeInstruction(bytes.data());
        EXPECT_EQ(BranchDestination(bytes.data(), instruction) - bytes.data(), branch.Destination)
            << branch.Hex;
    }
}

} // namespace
