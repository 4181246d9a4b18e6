#include "reporter/diagnostics/debug_formats/function_length.h"
#include "reporter/base/readable_memory.h"
#include "reporter/diagnostics/disassembly/instruction_length.h"

namespace {

constexpr uint32_t kMaxLength = 0x10000;
constexpr unsigned kMaxInstruction = 15;

bool IsPrefix(uint8_t byte) {
    switch (byte) {
    case 0x26:
    case 0x2E:
    case 0x36:
    case 0x3E:
    case 0x64:
    case 0x65:
    case 0x66:
    case 0x67:
    case 0xF0:
    case 0xF2:
    case 0xF3:
        return true;
    default:
        return false;
    }
}

// ret, ret n, retf, retf n, with any prefixes ("rep ret").
bool IsReturn(const uint8_t* code, unsigned length) {
    unsigned at = 0;
    while (at + 1 < length && IsPrefix(code[at]))
        ++at;
    return code[at] == 0xC3 || code[at] == 0xC2 || code[at] == 0xCB || code[at] == 0xCA;
}

} // namespace

uint32_t ProcedureLength(const void* start) {
    auto code = static_cast<const uint8_t*>(start);
    uint32_t length = 0;
    while (length < kMaxLength && IsReadableMemory(code + length, kMaxInstruction)) {
        const TInstruction instruction = DecodeInstruction(code + length);
        if (instruction.Length == 0)
            break;
        const bool isReturn = IsReturn(code + length, instruction.Length);
        length += instruction.Length;
        if (isReturn)
            break;
    }
    return length;
}
