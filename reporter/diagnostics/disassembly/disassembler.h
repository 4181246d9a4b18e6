// The table-driven IA-32 disassembler: each opcode's template (opcode_templates.def) is expanded
// while the instruction's bytes are consumed. Plain C++ over a copy of the bytes, so that it
// also builds for the host, where the toolchain's objdump checks it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Callbacks may replace the text of a value; each gets the user pointer back.
struct TDisAsm {
    void* User = nullptr;
    // The relative target of a jump or a call: the address of its displacement, the target, the
    // text (the displacement, signed).
    void (*JumpTarget)(void* user, uint32_t displacementAt, uint32_t target,
                       std::string& text) = nullptr;
    void (*CallTarget)(void* user, uint32_t displacementAt, uint32_t target,
                       std::string& text) = nullptr;
    // Every 32-bit displacement or absolute address inside a memory operand.
    void (*Displacement)(void* user, uint32_t valueAt, uint32_t value, std::string& text) = nullptr;
    // The direct offset of a move to or from the accumulator, with the operand's size in bytes.
    void (*DirectAddress)(void* user, uint32_t valueAt, uint32_t value, unsigned operandSize,
                          std::string& text) = nullptr;
    // Immediates: their address, value, size in bytes and whether they are printed signed.
    void (*Immediate)(void* user, uint32_t immediateAt, uint32_t value, unsigned size,
                      std::string& text, bool isSigned) = nullptr;
};

struct TDisassembled {
    unsigned Length = 0; // 0 only when no byte was available
    std::string Text;
    bool Defined = false; // false for a "DB" line
};

// The longest instruction the processor accepts.
constexpr unsigned kMaxInstructionBytes = 15;

// Decodes the instruction at `code`, of which `available` bytes may be read; `address` is where
// the bytes lie in the process. Bytes that make no instruction, or more than 15, or one running
// past the available bytes, become a "DB" line.
TDisassembled DisassembleBytes(const TDisAsm& disasm, const uint8_t* code, size_t available,
                               uint32_t address);

// The line of bytes that make no instruction: "DB", the bytes, and "  //".
std::string DataLine(const uint8_t* code, size_t count);
