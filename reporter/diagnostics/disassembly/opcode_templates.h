// The disassembler's templates by opcode: each map of opcode_templates.def as a table.
#pragma once
#include <cstdint>

const char* OneByteTemplate(std::uint8_t opcode);
// The second byte after the 0x0F escape.
const char* TwoByteTemplate(std::uint8_t opcode);
// The mnemonic of group 'a'..'o' for a ModRM reg field; null for a letter that names no group.
const char* GroupTemplate(char group, unsigned reg);
// The operands that differ within a group: set 1..5 by the ModRM reg field; null for no set.
const char* GroupOperandsTemplate(char set, unsigned reg);
// The x87 escape D8..DF: the register form for a ModRM of 0xC0 and above, else the memory form
// by its reg field.
const char* X87Template(std::uint8_t escape, std::uint8_t modrm);
