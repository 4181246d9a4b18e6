#include "reporter/diagnostics/disassembly/disassembler.h"
#include "reporter/diagnostics/disassembly/decoder_state.h"
#include "reporter/diagnostics/disassembly/opcode_templates.h"
#include "reporter/diagnostics/disassembly/operand_text.h"
#include "runtime/format.h"
#include <algorithm>

namespace {

const char* const kSegmentOverrides = "ecsdfg"; // @pe .. @pg, in the order of the names below
const char* const kSegmentNames[] = {"es", "cs", "ss", "ds", "fs", "gs"};

// Expands templates into the instruction's text while its bytes are read.
class TExpansion {
  public:
    explicit TExpansion(TDecoderState& state) : state_(state) {}

    // False when the bytes name no instruction ("%c").
    bool Expand(const char* templateText);
    std::string Text() const;

  private:
    void Directive(char letter, char argument);
    void NextByte() { Expand(OneByteTemplate(uint8_t(state_.Read(1)))); }

    TDecoderState& state_;
    std::string text_;
    std::vector<TSizeKeyword> keywords_;
    bool undefined_ = false;
};

// "@o2", "@o4", "@o8": the size letter of 16-bit and 32-bit operands.
const char* SizeLetter(char argument, unsigned operandSize) {
    const bool wide = operandSize == 4;
    switch (argument) {
    case '2':
        return wide ? "w" : "b";
    case '4':
        return wide ? "d" : "w";
    default:
        return wide ? "q" : "d";
    }
}

const char* SizeKeyword(unsigned size) {
    switch (size) {
    case 2:
        return "word ptr ";
    case 4:
        return "dword ptr ";
    case 8:
        return "qword ptr ";
    case 10:
        return "tbyte ptr ";
    case 6:
        return "";
    default:
        return "byte ptr ";
    }
}

bool TExpansion::Expand(const char* templateText) {
    for (const char* at = templateText; *at && !undefined_;) {
        if (at[0] == '#' && at[1] && at[2] && at[3]) {
            AppendOperand(state_, at[1], at[2], at[3], text_, keywords_);
            at += 4;
        } else if (at[0] == '@' && at[1] && at[2]) {
            Directive(at[1], at[2]);
            at += 3;
        } else if (at[0] == '%' && at[1] == 'c') {
            undefined_ = true;
        } else {
            text_ += *at++;
        }
    }
    return !undefined_;
}

void TExpansion::Directive(char letter, char argument) {
    switch (letter) {
    case 'c': // the two-byte map, or an x87 escape
        if (argument == '2')
            Expand(TwoByteTemplate(uint8_t(state_.Read(1))));
        else
            Expand(X87Template(uint8_t(0xD8 + (argument - 'a')), state_.ModRM()));
        return;
    case 'e':
        if (state_.OperandSize == 4)
            text_ += 'e';
        text_ += argument;
        return;
    case 'g':
    case 'h': {
        const unsigned reg = state_.Reg();
        const char* entry =
            letter == 'g' ? GroupTemplate(argument, reg) : GroupOperandsTemplate(argument, reg);
        Expand(entry ? entry : "%c ");
        return;
    }
    case 'm':
        state_.SizeKeywordWanted = state_.SizeKeywordForced = true;
        return;
    case 'o':
        text_ += SizeLetter(argument, state_.OperandSize);
        return;
    case 'p':
        for (int i = 0; i < 6; ++i)
            if (kSegmentOverrides[i] == argument)
                state_.Segment = kSegmentNames[i];
        NextByte();
        return;
    case 's':
        (argument == 'o' ? state_.OperandSize : state_.AddressSize) = 2;
        NextByte();
        return;
    default: // "@nx": a lock or repeat prefix, then the instruction it prefixes
        NextByte();
        return;
    }
}

std::string TExpansion::Text() const {
    std::string text = text_;
    for (auto keyword = keywords_.rbegin(); keyword != keywords_.rend(); ++keyword)
        if (state_.SizeKeywordWanted)
            text.insert(keyword->Position, SizeKeyword(keyword->Size));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace

TDisassembled DisassembleBytes(const TDisAsm& disasm, const uint8_t* code, size_t available,
                               uint32_t address) {
    if (available == 0)
        return {};
    TDecoderState state(disasm, code, available, address);
    TExpansion expansion(state);
    const bool defined = expansion.Expand(OneByteTemplate(uint8_t(state.Read(1))));
    if (defined && !state.Spoilt())
        return {unsigned(state.Consumed()), expansion.Text(), true};
    const size_t length = std::min({state.Consumed(), available, size_t(kMaxInstructionBytes)});
    return {unsigned(length), DataLine(code, length), false};
}

std::string DataLine(const uint8_t* code, size_t count) {
    std::string text = "DB      ";
    for (size_t i = 0; i < count; ++i)
        text += Format(i ? ", $%02X" : "$%02X", code[i]);
    return text + "  //";
}
