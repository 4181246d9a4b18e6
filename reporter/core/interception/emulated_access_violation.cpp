#include "reporter/core/interception/emulated_access_violation.h"
#include "reporter/base/guarded_read.h"
#include "reporter/diagnostics/disassembly/instruction_length.h"
#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned kMaxInstruction = 15;
constexpr ULONG_PTR kReadAccess = 0, kWriteAccess = 1;

// Opcode maps: one byte, 0F, 0F 38, 0F 3A.
enum TMap : uint8_t { kOneByte, k0F, k0F38, k0F3A };

// Instructions whose ModRM memory operand is written (alone or after being read): by map and
// opcode, the ModRM reg values that write (bit n for reg n). Every other memory operand is read.
struct TWriteForm {
    TMap Map;
    uint8_t Opcode;
    uint8_t Regs;
};
constexpr uint8_t kAll = 0xFF;
constexpr TWriteForm kWriteForms[] = {
    {kOneByte, 0x00, kAll}, {kOneByte, 0x01, kAll}, {kOneByte, 0x08, kAll}, {kOneByte, 0x09, kAll},
    {kOneByte, 0x10, kAll}, {kOneByte, 0x11, kAll}, {kOneByte, 0x18, kAll}, {kOneByte, 0x19, kAll},
    {kOneByte, 0x20, kAll}, {kOneByte, 0x21, kAll}, {kOneByte, 0x28, kAll}, {kOneByte, 0x29, kAll},
    {kOneByte, 0x30, kAll}, {kOneByte, 0x31, kAll}, {kOneByte, 0x80, 0x7F}, {kOneByte, 0x81, 0x7F},
    {kOneByte, 0x82, 0x7F}, {kOneByte, 0x83, 0x7F}, {kOneByte, 0x86, kAll}, {kOneByte, 0x87, kAll},
    {kOneByte, 0x88, kAll}, {kOneByte, 0x89, kAll}, {kOneByte, 0x8C, kAll}, {kOneByte, 0x8F, kAll},
    {kOneByte, 0xC0, kAll}, {kOneByte, 0xC1, kAll}, {kOneByte, 0xC6, kAll}, {kOneByte, 0xC7, kAll},
    {kOneByte, 0xD0, kAll}, {kOneByte, 0xD1, kAll}, {kOneByte, 0xD2, kAll}, {kOneByte, 0xD3, kAll},
    {kOneByte, 0xF6, 0x0C}, {kOneByte, 0xF7, 0x0C}, {kOneByte, 0xFE, 0x03}, {kOneByte, 0xFF, 0x03},
    {kOneByte, 0xD9, 0xCC}, {kOneByte, 0xDB, 0x8E}, {kOneByte, 0xDD, 0xCE}, {kOneByte, 0xDF, 0xCE},
    {k0F, 0x00, 0x03},      {k0F, 0x01, 0x13},      {k0F, 0x11, kAll},      {k0F, 0x13, kAll},
    {k0F, 0x17, kAll},      {k0F, 0x29, kAll},      {k0F, 0x2B, kAll},      {k0F, 0x7F, kAll},
    {k0F, 0xA4, kAll},      {k0F, 0xA5, kAll},      {k0F, 0xAB, kAll},      {k0F, 0xAC, kAll},
    {k0F, 0xAD, kAll},      {k0F, 0xAE, 0x59},      {k0F, 0xB0, kAll},      {k0F, 0xB1, kAll},
    {k0F, 0xB3, kAll},      {k0F, 0xBA, 0xE0},      {k0F, 0xBB, kAll},      {k0F, 0xC0, kAll},
    {k0F, 0xC1, kAll},      {k0F, 0xC3, kAll},      {k0F, 0xC7, 0x02},      {k0F, 0xD6, kAll},
    {k0F, 0xE7, kAll},      {k0F3A, 0x14, kAll},    {k0F3A, 0x15, kAll},    {k0F3A, 0x16, kAll},
    {k0F3A, 0x17, kAll},
};

// Opcodes with a ModRM memory operand that is only an address, never accessed: LEA, and the
// prefetch and hint space 0F 18-1F.
bool AccessesNothing(TMap map, uint8_t opcode) {
    return (map == kOneByte && opcode == 0x8D) || (map == k0F && opcode >= 0x18 && opcode <= 0x1F);
}

struct TOpcode {
    TMap Map = kOneByte;
    uint8_t Byte = 0;
    bool RepeatPrefix = false; // F3: 0F 7E is then a load
    bool SegmentOverride = false;
};

TOpcode ReadOpcode(const uint8_t* code, unsigned opcodeOffset) {
    TOpcode opcode;
    for (unsigned i = 0; i < opcodeOffset; ++i) {
        opcode.RepeatPrefix |= code[i] == 0xF3;
        opcode.SegmentOverride |= code[i] == 0x64 || code[i] == 0x65;
    }
    const uint8_t* at = code + opcodeOffset;
    if (at[0] != 0x0F) {
        opcode.Byte = at[0];
    } else if (at[1] == 0x38 || at[1] == 0x3A) {
        opcode.Map = at[1] == 0x38 ? k0F38 : k0F3A;
        opcode.Byte = at[2];
    } else {
        opcode.Map = k0F;
        opcode.Byte = at[1];
    }
    return opcode;
}

bool Writes(const TOpcode& opcode, unsigned reg) {
    if (opcode.Map == k0F && opcode.Byte == 0x7E)
        return !opcode.RepeatPrefix; // MOVD stores; F3 0F 7E is MOVQ's load
    for (const TWriteForm& form : kWriteForms)
        if (form.Map == opcode.Map && form.Opcode == opcode.Byte)
            return (form.Regs >> reg) & 1;
    return false;
}

DWORD Register(const CONTEXT& context, unsigned number) {
    const DWORD registers[] = {context.Eax, context.Ecx, context.Edx, context.Ebx,
                               context.Esp, context.Ebp, context.Esi, context.Edi};
    return registers[number & 7];
}

// The 32-bit effective address of a ModRM memory operand (mod below 3).
DWORD EffectiveAddress(const uint8_t* modrm, const CONTEXT& context) {
    const unsigned mod = modrm[0] >> 6, rm = modrm[0] & 7;
    const uint8_t* next = modrm + 1;
    DWORD address = 0;
    bool baseIsDisplacement = false;
    if (rm == 4) {
        const uint8_t sib = *next++;
        const unsigned scale = sib >> 6, index = (sib >> 3) & 7, base = sib & 7;
        if (index != 4)
            address += Register(context, index) << scale;
        baseIsDisplacement = base == 5 && mod == 0;
        if (!baseIsDisplacement)
            address += Register(context, base);
    } else if (rm == 5 && mod == 0) {
        baseIsDisplacement = true;
    } else {
        address += Register(context, rm);
    }
    if (mod == 1)
        address += DWORD(int32_t(int8_t(*next)));
    if (mod == 2 || baseIsDisplacement) {
        int32_t displacement;
        std::memcpy(&displacement, next, sizeof displacement);
        address += DWORD(displacement);
    }
    return address;
}

bool Reachable(DWORD address, bool write) {
    MEMORY_BASIC_INFORMATION memory{};
    if (!VirtualQuery(reinterpret_cast<const void*>(uintptr_t(address)), &memory, sizeof memory) ||
        memory.State != MEM_COMMIT || (memory.Protect & (PAGE_NOACCESS | PAGE_GUARD)))
        return false;
    constexpr DWORD kWritable =
        PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return !write || (memory.Protect & kWritable);
}

struct TAccess {
    bool Known = false;
    bool Write = false;
    DWORD Address = 0;
};

TAccess Access(bool write, DWORD address) {
    return {true, write, address};
}

// String instructions address ESI (read) and EDI (written by MOVS and STOS, else read);
// MOVS and CMPS use both, and the one that cannot be reached is the one that faulted.
TAccess StringAccess(uint8_t opcode, const CONTEXT& context) {
    switch (opcode & 0xFE) {
    case 0xA4: // MOVS
        return Reachable(context.Esi, false) ? Access(true, context.Edi)
                                             : Access(false, context.Esi);
    case 0xA6: // CMPS
        return Reachable(context.Esi, false) ? Access(false, context.Edi)
                                             : Access(false, context.Esi);
    case 0xAA: // STOS
        return Access(true, context.Edi);
    case 0xAC: // LODS
        return Access(false, context.Esi);
    default: // SCAS
        return Access(false, context.Edi);
    }
}

TAccess MemoryAccess(const uint8_t* code, const TInstruction& instruction, const CONTEXT& context) {
    const TOpcode opcode = ReadOpcode(code, instruction.OpcodeOffset);
    // FS and GS address the thread's block, whose base this thread cannot be sure of.
    if (instruction.Address16 || opcode.SegmentOverride)
        return {};
    if (instruction.ModRMOffset) {
        const uint8_t* modrm = code + instruction.ModRMOffset;
        if ((*modrm >> 6) == 3 || AccessesNothing(opcode.Map, opcode.Byte))
            return {};
        return Access(Writes(opcode, (*modrm >> 3) & 7), EffectiveAddress(modrm, context));
    }
    if (opcode.Map != kOneByte)
        return {};
    if (opcode.Byte >= 0xA0 && opcode.Byte <= 0xA3) { // MOV with a direct offset
        DWORD offset;
        std::memcpy(&offset, code + instruction.OpcodeOffset + 1, sizeof offset);
        return Access(opcode.Byte >= 0xA2, offset);
    }
    if (opcode.Byte >= 0xA4 && opcode.Byte <= 0xAF && opcode.Byte != 0xA8 && opcode.Byte != 0xA9)
        return StringAccess(opcode.Byte, context);
    return {};
}

} // namespace

bool RecogniseEmulatedAccessViolation(const EXCEPTION_RECORD& record, const CONTEXT& context,
                                      EXCEPTION_RECORD& violation) {
    if (record.ExceptionCode != EXCEPTION_ILLEGAL_INSTRUCTION || record.NumberParameters != 0)
        return false;
    uint8_t code[kMaxInstruction + 1] = {}; // one spare byte: the decoder may look one ahead
    const auto* at = static_cast<const uint8_t*>(record.ExceptionAddress);
    {
        const TReadFaultGuard guard;
        for (unsigned i = 0; i < kMaxInstruction && GuardedRead(at + i, &code[i], 1); ++i) {
        }
    }
    const TInstruction instruction = DecodeInstruction(code);
    if (!instruction.Length)
        return false;
    const TAccess access = MemoryAccess(code, instruction, context);
    if (!access.Known || Reachable(access.Address, access.Write))
        return false;
    violation = record;
    violation.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    violation.NumberParameters = 2;
    violation.ExceptionInformation[0] = access.Write ? kWriteAccess : kReadAccess;
    violation.ExceptionInformation[1] = access.Address;
    return true;
}
