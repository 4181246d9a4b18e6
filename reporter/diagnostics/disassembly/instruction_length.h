// Lengths of 32-bit x86 instructions, where their relative branches lead and where their operand
// bytes lie: enough to move whole instructions of a procedure's start into a trampoline, and to
// find the memory an instruction addresses.
#pragma once
#include <cstdint>

struct TInstruction {
    // 0 when the bytes are not a valid instruction: callers then refuse to patch.
    unsigned Length = 0;
    // Size of the relative branch displacement that ends the instruction: 0 (no relative
    // branch), 1 (short jumps, including conditional ones and loops), 2 (operand-size prefixed
    // near branches) or 4 (near calls and jumps).
    unsigned RelativeSize = 0;
    // Where the opcode starts (after the legacy prefixes), and the ModRM byte's offset (0 when
    // the instruction has none, reads it as a register form always, or carries a vector prefix).
    unsigned OpcodeOffset = 0;
    unsigned ModRMOffset = 0;
    bool Address16 = false;
};

TInstruction DecodeInstruction(const std::uint8_t* code);

// Where the relative branch at `code` leads; only for instructions with a RelativeSize.
const std::uint8_t* BranchDestination(const std::uint8_t* code, const TInstruction& instruction);
