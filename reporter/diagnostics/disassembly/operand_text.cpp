#include "reporter/diagnostics/disassembly/operand_text.h"
#include "runtime/format.h"

namespace {

const char* const kRegisters8[] = {"al", "cl", "dl", "bl", "ah", "ch", "dh", "bh"};
const char* const kRegisters16[] = {"ax", "cx", "dx", "bx", "sp", "bp", "si", "di"};
const char* const kRegisters32[] = {"eax", "ecx", "edx", "ebx", "esp", "ebp", "esi", "edi"};
const char* const kSegments[] = {"es", "cs", "ss", "ds", "fs", "gs", "", ""};
const char* const kAddresses16[] = {"[bx+si", "[bx+di", "[bp+si", "[bp+di",
                                    "[si",    "[di",    "[bp",    "[bx"};
const char* const kScales[] = {"", "*2", "*4", "*8"};

unsigned SizeInBytes(char size, unsigned operandSize) {
    switch (size) {
    case 'b':
        return 1;
    case 'w':
    case 'y': // a word in memory; a register of the operand size (lar, lsl, sldt, str)
        return 2;
    case 'd':
        return 4;
    case 'q':
        return 8;
    case 's':
        return 6;
    case 't':
        return 10;
    case 'v':
        return operandSize;
    case 'c':
        return operandSize == 2 ? 1 : 2;
    case 'a':
        return operandSize == 2 ? 4 : 8;
    case 'p':
        return operandSize + 2;
    default:
        return 0;
    }
}

// "$" and two digits per byte, most significant first. Written by hand: the runtime's
// formatting costs more than the rest of an instruction's decoding.
std::string Hex(uint32_t value, unsigned bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text(1 + 2 * bytes, '$');
    for (size_t at = text.size() - 1; at > 0; --at, value >>= 4)
        text[at] = kDigits[value & 15];
    return text;
}

// "+$" or "-$" and two digits per byte of the value taken as signed.
std::string SignedHex(uint32_t value, unsigned bytes) {
    const unsigned bits = bytes * 8;
    const uint32_t mask = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    const uint32_t sign = 1u << (bits - 1);
    value &= mask;
    if (value & sign)
        return "-" + Hex((~value + 1) & mask, bytes);
    return "+" + Hex(value, bytes);
}

uint32_t SignExtended(uint32_t value, unsigned bytes) {
    if (bytes == 1)
        return uint32_t(int32_t(int8_t(value)));
    if (bytes == 2)
        return uint32_t(int32_t(int16_t(value)));
    return value;
}

std::string Register(unsigned number, unsigned size) {
    if (size == 1)
        return kRegisters8[number];
    return size == 2 ? kRegisters16[number] : kRegisters32[number];
}

// A 32-bit displacement or absolute address, passed to its callback.
std::string Value32(TDecoderState& state) {
    const uint32_t at = state.Here();
    const uint32_t value = state.Read(4);
    std::string text = Hex(value, 4);
    if (state.Disasm.Displacement)
        state.Disasm.Displacement(state.Disasm.User, at, value, text);
    return text;
}

std::string Memory16(TDecoderState& state, unsigned mod, unsigned rm) {
    if (mod == 0 && rm == 6)
        return "[" + Hex(state.Read(2), 2) + "]";
    std::string text = kAddresses16[rm];
    if (mod == 1)
        text += SignedHex(state.Read(1), 1);
    else if (mod == 2)
        text += "+" + Hex(state.Read(2), 2);
    return text + "]";
}

// "[base+index*scale", with the absolute value for base 5 without a displacement.
std::string SibAddress(TDecoderState& state, unsigned mod) {
    const uint8_t sib = state.Sib();
    const unsigned base = sib & 7, index = (sib >> 3) & 7;
    std::string text = "[" + (base == 5 && mod == 0 ? Value32(state) : kRegisters32[base]);
    if (index != 4)
        text += std::string("+") + kRegisters32[index] + kScales[sib >> 6];
    return text;
}

std::string Memory32(TDecoderState& state, unsigned mod, unsigned rm) {
    std::string text;
    if (rm == 4)
        text = SibAddress(state, mod);
    else if (mod == 0 && rm == 5)
        text = "[" + Value32(state);
    else
        text = std::string("[") + kRegisters32[rm];
    if (mod == 1)
        text += SignedHex(state.Read(1), 1);
    else if (mod == 2)
        text += "+" + Value32(state);
    return text + "]";
}

void AppendMemory(TDecoderState& state, std::string& text, std::vector<TSizeKeyword>& keywords) {
    keywords.push_back({text.size(), state.CurrentSize});
    if (!state.Segment.empty())
        text += state.Segment + ":";
    const uint8_t modrm = state.ModRM();
    const unsigned mod = modrm >> 6, rm = modrm & 7;
    text += state.AddressSize == 2 ? Memory16(state, mod, rm) : Memory32(state, mod, rm);
}

std::string RegisterOperand(TDecoderState& state, std::string name) {
    state.SizeKeywordWanted = state.SizeKeywordForced;
    return name;
}

// E, M, R and Q: the ModRM r/m field, a register or memory (M: memory only).
void AppendRegisterOrMemory(TDecoderState& state, char method, std::string& text,
                            std::vector<TSizeKeyword>& keywords) {
    const uint8_t modrm = state.ModRM();
    const bool registerForm = method == 'R' || modrm >= 0xC0;
    if (registerForm && method == 'M')
        state.Spoil();
    else if (!registerForm)
        AppendMemory(state, text, keywords);
    else if (method == 'Q')
        text += RegisterOperand(state, Format("MM%d", modrm & 7));
    else
        text += RegisterOperand(state, Register(modrm & 7, state.CurrentSize));
}

std::string ImmediateText(TDecoderState& state, unsigned size, bool isSigned) {
    const uint32_t at = state.Here();
    const uint32_t value = state.Read(size);
    std::string text = isSigned ? SignedHex(value, size) : Hex(value, size);
    if (state.Disasm.Immediate)
        state.Disasm.Immediate(state.Disasm.User, at, value, size, text, isSigned);
    return text;
}

std::string RelativeTarget(TDecoderState& state, char flag) {
    const unsigned size = state.CurrentSize;
    const uint32_t at = state.Here();
    const uint32_t displacement = state.Read(size);
    const uint32_t target = state.Here() + SignExtended(displacement, size);
    std::string text = SignedHex(displacement, size);
    auto callback = flag == 'c' ? state.Disasm.CallTarget : state.Disasm.JumpTarget;
    if (callback)
        callback(state.Disasm.User, at, target, text);
    return text;
}

void AppendDirectAddress(TDecoderState& state, std::string& text,
                         std::vector<TSizeKeyword>& keywords) {
    keywords.push_back({text.size(), state.CurrentSize});
    if (!state.Segment.empty())
        text += state.Segment + ":";
    const uint32_t at = state.Here();
    const uint32_t value = state.Read(state.AddressSize);
    std::string offset = Hex(value, state.AddressSize);
    if (state.Disasm.DirectAddress)
        state.Disasm.DirectAddress(state.Disasm.User, at, value, state.CurrentSize, offset);
    text += "[" + offset + "]";
}

std::string FarAddress(TDecoderState& state) {
    const uint32_t offset = state.Read(state.OperandSize);
    const uint32_t selector = state.Read(2);
    return Hex(selector, 2) + ":" + Hex(offset, state.OperandSize);
}

} // namespace

void AppendOperand(TDecoderState& state, char method, char size, char flag, std::string& text,
                   std::vector<TSizeKeyword>& keywords) {
    state.CurrentSize = SizeInBytes(size, state.OperandSize);
    switch (method) {
    case 'A':
        text += FarAddress(state);
        return;
    case 'C':
    case 'D':
    case 'T':
        text += RegisterOperand(state, Format("%c%u", method, state.Reg()));
        return;
    case 'E':
    case 'M':
    case 'R':
    case 'Q':
        if (size == 'y' && state.ModRM() >= 0xC0)
            state.CurrentSize = state.OperandSize;
        AppendRegisterOrMemory(state, method, text, keywords);
        return;
    case 'G':
        text += RegisterOperand(state, Register(state.Reg(), state.CurrentSize));
        return;
    case 'H':
    case 'I':
    case 'L':
        text += ImmediateText(state, state.CurrentSize, method == 'H');
        return;
    case 'J':
        text += RelativeTarget(state, flag);
        return;
    case 'O':
        AppendDirectAddress(state, text, keywords);
        return;
    case 'P':
        text += RegisterOperand(state, Format("MM%u", state.Reg()));
        return;
    case 'S':
        text += RegisterOperand(state, kSegments[state.Reg()]);
        return;
    default: // 'F', the flags register, prints nothing
        return;
    }
}
