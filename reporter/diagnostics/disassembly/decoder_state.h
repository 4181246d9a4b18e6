// What the disassembler knows of the instruction it is reading.
#pragma once
#include "reporter/diagnostics/disassembly/disassembler.h"
#include <string>
#include <vector>

class TDecoderState {
  public:
    TDecoderState(const TDisAsm& disasm, const uint8_t* code, size_t available, uint32_t address)
        : Disasm(disasm), code_(code), available_(available), address_(address) {}

    // Reads `size` bytes (1, 2 or 4), least significant first; past the available bytes, or
    // beyond the longest instruction, they read as 0 and the instruction is spoilt.
    uint32_t Read(unsigned size);
    uint8_t ModRM();
    uint8_t Sib();
    unsigned Reg() { return (ModRM() >> 3) & 7; }
    // The process address of the next byte to read.
    uint32_t Here() const { return address_ + uint32_t(consumed_); }
    size_t Consumed() const { return consumed_; }
    bool Spoilt() const { return spoilt_; }
    // The bytes read so far make no instruction (a register where only memory may stand).
    void Spoil() { spoilt_ = true; }
    const uint8_t* Code() const { return code_; }
    size_t Available() const { return available_; }

    const TDisAsm& Disasm;
    unsigned OperandSize = 4; // 2 after the 0x66 prefix
    unsigned AddressSize = 4; // 2 after the 0x67 prefix
    unsigned CurrentSize = 0; // of the operand being expanded, in bytes
    std::string Segment;      // the override's register name; empty when none
    // Memory operands say their size unless the instruction has a register operand (whose size
    // tells it) or the template forces the keyword ("@m").
    bool SizeKeywordWanted = true;
    bool SizeKeywordForced = false;

  private:
    const uint8_t* code_;
    size_t available_;
    uint32_t address_;
    size_t consumed_ = 0;
    int modrm_ = -1;
    int sib_ = -1;
    bool spoilt_ = false;
};
