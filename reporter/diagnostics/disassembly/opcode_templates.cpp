#include "reporter/diagnostics/disassembly/opcode_templates.h"
#include <iterator>

namespace {

struct TEntry {
    unsigned Key; // opcode, or letter and reg field, or escape and index: checked against order
    const char* Text;
};

constexpr unsigned GroupKey(char group, unsigned reg) {
    return unsigned(group) * 8 + reg;
}
constexpr unsigned X87Key(unsigned escape, unsigned index) {
    return (escape - 0xD8) * 72 + index;
}

constexpr TEntry kOneByte[] = {
#define ONE_BYTE(opcode, text) {opcode, text},
#include "reporter/diagnostics/disassembly/opcode_templates.def"
};

constexpr TEntry kTwoByte[] = {
#define TWO_BYTE(opcode, text) {opcode, text},
#include "reporter/diagnostics/disassembly/opcode_templates.def"
};

constexpr TEntry kGroups[] = {
#define GROUP(letter, reg, text) {GroupKey(#letter[0], reg), text},
#include "reporter/diagnostics/disassembly/opcode_templates.def"
};

constexpr TEntry kGroupOperands[] = {
#define GROUP_OPERANDS(set, reg, text) {GroupKey(#set[0], reg), text},
#include "reporter/diagnostics/disassembly/opcode_templates.def"
};

constexpr TEntry kX87[] = {
#define X87(escape, index, text) {X87Key(escape, index), text},
#include "reporter/diagnostics/disassembly/opcode_templates.def"
};

// Each table lists every key from its first on, in order, so that a key is an index.
template <size_t N> constexpr bool Dense(const TEntry (&table)[N], unsigned first) {
    for (size_t i = 0; i < N; ++i)
        if (table[i].Key != first + i)
            return false;
    return true;
}

static_assert(std::size(kOneByte) == 256 && Dense(kOneByte, 0));
static_assert(std::size(kTwoByte) == 256 && Dense(kTwoByte, 0));
static_assert(std::size(kX87) == 8 * 72 && Dense(kX87, 0));

// Groups follow one another by letter, eight entries each, but the letters need not be adjacent.
template <size_t N> const char* ByGroupKey(const TEntry (&table)[N], char group, unsigned reg) {
    for (size_t i = 0; i + 8 <= N; i += 8)
        if (table[i].Key == GroupKey(group, 0))
            return table[i + (reg & 7)].Text;
    return nullptr;
}

template <size_t N> constexpr bool WholeGroups(const TEntry (&table)[N]) {
    for (size_t i = 0; i < N; ++i)
        if (table[i].Key != table[i - i % 8].Key + i % 8)
            return false;
    return N % 8 == 0;
}

static_assert(WholeGroups(kGroups) && WholeGroups(kGroupOperands));

} // namespace

const char* OneByteTemplate(std::uint8_t opcode) {
    return kOneByte[opcode].Text;
}

const char* TwoByteTemplate(std::uint8_t opcode) {
    return kTwoByte[opcode].Text;
}

const char* GroupTemplate(char group, unsigned reg) {
    return ByGroupKey(kGroups, group, reg);
}

const char* GroupOperandsTemplate(char set, unsigned reg) {
    return ByGroupKey(kGroupOperands, set, reg);
}

const char* X87Template(std::uint8_t escape, std::uint8_t modrm) {
    const unsigned index = modrm >= 0xC0 ? modrm - 0xC0u : 64u + ((modrm >> 3) & 7u);
    return kX87[X87Key(escape, index)].Text;
}
