#include "reporter/diagnostics/disassembly/instruction_length.h"
#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace {

constexpr unsigned kMaxInstructionLength = 15;

// What follows an opcode besides an optional ModRM byte.
enum class TImmediate : std::uint8_t {
    None,
    Byte,
    Word,
    Full,        // 16 or 32 bits by operand size
    Offset,      // moffs: 16 or 32 bits by address size
    FarPointer,  // 16-bit selector after a full offset
    WordByte,    // ENTER
    ByteForTest, // F6 group: only TEST (/0, /1) has one
    FullForTest, // F7 group
    RelativeByte,
    RelativeFull,
};

struct TForm {
    bool Valid = true;
    bool ModRM = false;
    TImmediate Immediate = TImmediate::None;
    // Bit n set: ModRM reg field n is no instruction of this group.
    std::uint8_t InvalidRegs = 0;
    // Moves to and from control and debug registers read every ModRM as a register form.
    bool IgnoresMod = false;
};

constexpr TForm kPlain{};
constexpr TForm kInvalid{false};
constexpr TForm kModRM{true, true};
constexpr TForm kModRMByte{true, true, TImmediate::Byte};
constexpr TForm Immediate(TImmediate immediate) {
    return {true, false, immediate};
}

bool IsOneOf(std::uint8_t byte, std::initializer_list<std::uint8_t> bytes) {
    return std::find(bytes.begin(), bytes.end(), byte) != bytes.end();
}

bool InRange(std::uint8_t byte, std::uint8_t first, std::uint8_t last) {
    return byte >= first && byte <= last;
}

bool IsLegacyPrefix(std::uint8_t byte) {
    return IsOneOf(byte, {0x26, 0x2E, 0x36, 0x3E, 0x64, 0x65, // segment overrides
                          0x66, 0x67, 0xF0, 0xF2, 0xF3});
}

// 00-3F: eight arithmetic rows of Eb,Gb / Ev,Gv / Gb,Eb / Gv,Ev / AL,Ib / eAX,Iz and two
// one-byte instructions (segment pushes and pops, decimal adjustments).
TForm ArithmeticRowForm(std::uint8_t opcode) {
    const unsigned column = opcode & 7;
    if (column == 4)
        return Immediate(TImmediate::Byte);
    if (column == 5)
        return Immediate(TImmediate::Full);
    return column < 4 ? kModRM : kPlain;
}

// Groups whose ModRM reg field selects the instruction: some values select none, and in F6/F7
// only TEST has an immediate.
TForm GroupForm(std::uint8_t opcode) {
    switch (opcode) {
    case 0x8F:
        return {true, true, TImmediate::None, 0xFE};
    case 0xC6:
        return {true, true, TImmediate::Byte, 0xFE};
    case 0xC7:
        return {true, true, TImmediate::Full, 0xFE};
    case 0xF6:
        return {true, true, TImmediate::ByteForTest};
    case 0xF7:
        return {true, true, TImmediate::FullForTest};
    case 0xFE:
        return {true, true, TImmediate::None, 0xFC};
    default:
        return {true, true, TImmediate::None, 0x80}; // FF
    }
}

TForm OneByteForm(std::uint8_t opcode) {
    if (opcode < 0x40)
        return ArithmeticRowForm(opcode);
    if (IsOneOf(opcode, {0x8F, 0xC6, 0xC7, 0xF6, 0xF7, 0xFE, 0xFF}))
        return GroupForm(opcode);
    if (InRange(opcode, 0x70, 0x7F) || IsOneOf(opcode, {0xE0, 0xE1, 0xE2, 0xE3, 0xEB}))
        return Immediate(TImmediate::RelativeByte);
    if (IsOneOf(opcode, {0xE8, 0xE9}))
        return Immediate(TImmediate::RelativeFull);
    if (InRange(opcode, 0x84, 0x8E) || InRange(opcode, 0xD0, 0xD3) || InRange(opcode, 0xD8, 0xDF) ||
        IsOneOf(opcode, {0x62, 0x63, 0xC4, 0xC5}))
        return kModRM;
    if (IsOneOf(opcode, {0x6B, 0x80, 0x82, 0x83, 0xC0, 0xC1}))
        return kModRMByte;
    if (IsOneOf(opcode, {0x69, 0x81}))
        return {true, true, TImmediate::Full};
    if (InRange(opcode, 0xB0, 0xB7) || InRange(opcode, 0xE4, 0xE7) ||
        IsOneOf(opcode, {0x6A, 0xA8, 0xCD, 0xD4, 0xD5}))
        return Immediate(TImmediate::Byte);
    if (InRange(opcode, 0xB8, 0xBF) || IsOneOf(opcode, {0x68, 0xA9}))
        return Immediate(TImmediate::Full);
    if (InRange(opcode, 0xA0, 0xA3))
        return Immediate(TImmediate::Offset);
    if (IsOneOf(opcode, {0x9A, 0xEA}))
        return Immediate(TImmediate::FarPointer);
    if (IsOneOf(opcode, {0xC2, 0xCA}))
        return Immediate(TImmediate::Word);
    if (opcode == 0xC8)
        return Immediate(TImmediate::WordByte);
    return kPlain; // one-byte register, string, flag, port and return instructions
}

TForm TwoByteForm(std::uint8_t opcode) {
    if (IsOneOf(opcode, {0x04, 0x0A, 0x0C, 0x24, 0x25, 0x26, 0x27, 0x36, 0x39, 0x3B, 0x3C, 0x3D,
                         0x3E, 0x3F, 0x7A, 0x7B, 0xA6, 0xA7}))
        return kInvalid;
    if (InRange(opcode, 0x80, 0x8F))
        return Immediate(TImmediate::RelativeFull);
    if (InRange(opcode, 0x20, 0x23))
        return {true, true, TImmediate::None, 0, true};
    if (InRange(opcode, 0x30, 0x35) || InRange(opcode, 0xC8, 0xCF) ||
        IsOneOf(opcode, {0x05, 0x06, 0x07, 0x08, 0x09, 0x0B, 0x0E, 0x37, 0x77, 0xA0, 0xA1, 0xA2,
                         0xA8, 0xA9, 0xAA}))
        return kPlain;
    // 0F 0F is 3DNow!, whose operation byte follows the operands.
    if (InRange(opcode, 0x70, 0x73) || InRange(opcode, 0xC4, 0xC6) ||
        IsOneOf(opcode, {0x0F, 0xA4, 0xAC, 0xBA, 0xC2}))
        return kModRMByte;
    return kModRM;
}

TForm VectorMap0FForm(std::uint8_t opcode) {
    if (opcode == 0x77) // vzeroupper, vzeroall
        return kPlain;
    if (InRange(opcode, 0x70, 0x73) || InRange(opcode, 0xC4, 0xC6) || opcode == 0xC2)
        return kModRMByte;
    return kModRM;
}

TForm MapForm(unsigned map, std::uint8_t opcode) {
    switch (map) {
    case 1:
        return VectorMap0FForm(opcode);
    case 2:
        return kModRM; // 0F 38
    case 3:
        return kModRMByte; // 0F 3A
    default:
        return kInvalid;
    }
}

// In 32-bit code C4, C5 (LES, LDS) and 62 (BOUND) take a memory operand only; a register form
// there is the VEX or EVEX prefix instead.
bool StartsVectorPrefix(std::uint8_t opcode, const std::uint8_t* next) {
    return (opcode == 0xC4 || opcode == 0xC5 || opcode == 0x62) && (*next >> 6) == 3;
}

TForm ReadVectorOpcode(std::uint8_t prefix, const std::uint8_t*& at) {
    unsigned map = 1;
    if (prefix == 0xC4)
        map = at[0] & 0x1F;
    else if (prefix == 0x62)
        map = at[0] & 0x03;
    at += prefix == 0xC5 ? 1 : prefix == 0xC4 ? 2 : 3;
    return MapForm(map, *at++);
}

// XABORT (C6 F8 ib) and XBEGIN (C7 F8 rel) share the opcodes of MOV Eb,Ib and MOV Ev,Iz, whose
// other reg 7 forms are no instructions.
bool IsTransactionInstruction(std::uint8_t opcode, const std::uint8_t* modrm) {
    return (opcode == 0xC6 || opcode == 0xC7) && *modrm == 0xF8;
}

// The form of the opcode at `at`, which is moved past the opcode bytes.
TForm ReadOpcode(const std::uint8_t*& at) {
    const std::uint8_t opcode = *at++;
    if (StartsVectorPrefix(opcode, at))
        return ReadVectorOpcode(opcode, at);
    if (IsTransactionInstruction(opcode, at))
        return {true, true, opcode == 0xC6 ? TImmediate::Byte : TImmediate::RelativeFull};
    if (opcode != 0x0F)
        return OneByteForm(opcode);
    const std::uint8_t second = *at++;
    if (second == 0x38 || second == 0x3A)
        return MapForm(second == 0x38 ? 2 : 3, *at++);
    return TwoByteForm(second);
}

unsigned AddressingLength16(unsigned mod, unsigned rm) {
    if (mod == 0)
        return rm == 6 ? 3 : 1;
    return mod == 1 ? 2 : 3;
}

// The ModRM byte with its SIB byte and displacement.
unsigned AddressingLength(const std::uint8_t* modrm, bool address16) {
    const unsigned mod = *modrm >> 6, rm = *modrm & 7;
    if (mod == 3)
        return 1;
    if (address16)
        return AddressingLength16(mod, rm);
    const bool hasSib = rm == 4;
    const bool baseIsDisplacement = hasSib ? (modrm[1] & 7) == 5 : rm == 5;
    unsigned displacement = mod == 1 ? 1 : mod == 2 ? 4 : 0;
    if (mod == 0 && baseIsDisplacement)
        displacement = 4;
    return 1 + (hasSib ? 1 : 0) + displacement;
}

struct TSizes {
    bool Operand16 = false;
    bool Address16 = false;
    unsigned Full() const { return Operand16 ? 2 : 4; }
};

unsigned ImmediateLength(TImmediate immediate, const TSizes& sizes, unsigned reg) {
    switch (immediate) {
    case TImmediate::None:
        return 0;
    case TImmediate::Byte:
    case TImmediate::RelativeByte:
        return 1;
    case TImmediate::Word:
        return 2;
    case TImmediate::Full:
    case TImmediate::RelativeFull:
        return sizes.Full();
    case TImmediate::Offset:
        return sizes.Address16 ? 2 : 4;
    case TImmediate::FarPointer:
        return sizes.Full() + 2;
    case TImmediate::WordByte:
        return 3;
    case TImmediate::ByteForTest:
        return reg < 2 ? 1 : 0;
    case TImmediate::FullForTest:
        return reg < 2 ? sizes.Full() : 0;
    }
    return 0;
}

unsigned RelativeSize(TImmediate immediate, const TSizes& sizes) {
    if (immediate == TImmediate::RelativeByte)
        return 1;
    return immediate == TImmediate::RelativeFull ? sizes.Full() : 0;
}

// Moves `at` past the legacy prefixes and notes the size overrides among them.
TSizes ReadPrefixes(const std::uint8_t*& at, const std::uint8_t* start) {
    TSizes sizes;
    while (IsLegacyPrefix(*at) && at - start < static_cast<int>(kMaxInstructionLength)) {
        sizes.Operand16 |= *at == 0x66;
        sizes.Address16 |= *at == 0x67;
        ++at;
    }
    return sizes;
}

} // namespace

TInstruction DecodeInstruction(const std::uint8_t* code) {
    const std::uint8_t* at = code;
    const TSizes sizes = ReadPrefixes(at, code);
    const unsigned opcodeOffset = static_cast<unsigned>(at - code);
    const bool vector = StartsVectorPrefix(*at, at + 1);
    const TForm form = ReadOpcode(at);
    if (!form.Valid)
        return {};
    const unsigned reg = form.ModRM ? (*at >> 3) & 7 : 0;
    if ((form.InvalidRegs >> reg) & 1)
        return {};
    unsigned addressing = 0;
    if (form.ModRM)
        addressing = form.IgnoresMod ? 1 : AddressingLength(at, sizes.Address16);
    const unsigned length =
        static_cast<unsigned>(at - code) + addressing + ImmediateLength(form.Immediate, sizes, reg);
    if (length > kMaxInstructionLength)
        return {};
    const unsigned modrm =
        form.ModRM && !form.IgnoresMod && !vector ? static_cast<unsigned>(at - code) : 0;
    return {length, RelativeSize(form.Immediate, sizes), opcodeOffset, modrm, sizes.Address16};
}

const std::uint8_t* BranchDestination(const std::uint8_t* code, const TInstruction& instruction) {
    const std::uint8_t* end = code + instruction.Length;
    const std::uint8_t* field = end - instruction.RelativeSize;
    switch (instruction.RelativeSize) {
    case 1:
        return end + static_cast<std::int8_t>(*field);
    case 2: {
        std::int16_t displacement;
        std::memcpy(&displacement, field, sizeof displacement);
        return end + displacement;
    }
    default: {
        std::int32_t displacement;
        std::memcpy(&displacement, field, sizeof displacement);
        return end + displacement;
    }
    }
}
