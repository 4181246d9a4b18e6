#include "reporter/diagnostics/disassembly/assembler_listing.h"
#include "reporter/diagnostics/debug_formats/locate_address.h"
#include "reporter/diagnostics/disassembly/back_search.h"
#include "reporter/diagnostics/disassembly/instruction_length.h"
#include "reporter/diagnostics/disassembly/listing_names.h"
#include "runtime/format.h"
#include <algorithm>
#include <vector>

namespace {

constexpr unsigned kReach = 70;              // bytes looked at on either side of the fault
constexpr unsigned kInstructionsAround = 10; // listed before and after the faulting one
constexpr char kFaultMark[] = "  ; <-- EXCEPTION";
constexpr char kCrLf[] = "\r\n";

struct TLine {
    std::string Text;
    bool Instruction = false;
    bool Block = false;      // the first line of a comment block
    bool NamesBlock = false; // of a block that names the procedure
};

// What the debug data says of one instruction: the names, and the line.
struct TSource {
    std::string Names;
    std::string Line;
};

TSource SourceOf(uintptr_t address) {
    TVessarDebugInfo info;
    if (!LocateAddress(reinterpret_cast<const void*>(address), info) ||
        info.Detail < kDetailProcedure || info.Detail > kDetailLine)
        return {};
    return {ProcedureName(info),
            info.Line > 0 ? Format("Line=%d - Offset=%d", int(info.Line), int(info.ProcLine))
                          : std::string()};
}

// A comment block when the names or the line change: an empty ";" line between blocks, the
// text, and "-" under it.
void AddBlock(std::vector<TLine>& lines, const TSource& source, const TSource& previous) {
    std::string text;
    const bool names = source.Names != previous.Names;
    if (names) {
        if (source.Names.empty())
            return;
        text = source.Names;
        if (source.Line != previous.Line && !source.Line.empty())
            text += " (" + source.Line + ")";
    } else if (source.Line != previous.Line && !source.Line.empty()) {
        text = source.Line;
    } else {
        return;
    }
    const bool first =
        std::none_of(lines.begin(), lines.end(), [](const TLine& l) { return l.Block; });
    if (!first)
        lines.push_back({";"});
    lines.push_back({"; " + text, false, true, names});
    lines.push_back({"; " + std::string(text.size(), '-')});
}

bool IsReturn(const uint8_t* code) {
    const unsigned opcode = code[DecodeInstruction(code).OpcodeOffset];
    return opcode == 0xC2 || opcode == 0xC3 || opcode == 0xCA || opcode == 0xCB;
}

// The instruction's text; where the tables read another length than the chain, its bytes as
// data, so that the listing stays on the chain that reaches the fault.
std::string InstructionText(const TDisAsm& disasm, const TCodeWindow& window, uintptr_t at,
                            unsigned length) {
    const TDisassembled decoded =
        DisassembleBytes(disasm, window.At(at), window.AvailableAt(at), uint32_t(at));
    return decoded.Length == length ? decoded.Text : DataLine(window.At(at), length);
}

std::vector<TLine> ListingLines(const TCodeWindow& window, uintptr_t fault, TMemoryProbe& memory) {
    const TDisAsm disasm = ListingDisassembler(memory);
    std::vector<TLine> lines;
    TSource previous;
    unsigned after = 0;
    for (uintptr_t at = ListingStart(window, fault, kInstructionsAround); at < window.End();) {
        const TSource source = SourceOf(at);
        AddBlock(lines, source, previous);
        previous = source;
        // An instruction cut off by unreadable memory lists the readable bytes alone.
        const auto length =
            unsigned(std::min<size_t>(ChainStep(window, at), window.AvailableAt(at)));
        std::string text =
            Format("%08X  ", unsigned(at)) + InstructionText(disasm, window, at, length);
        if (at == fault)
            text += kFaultMark;
        lines.push_back({text, true});
        if (at > fault && (++after >= kInstructionsAround || IsReturn(window.At(at))))
            break;
        at += length;
    }
    return lines;
}

// The listing starts with the block that names the faulting instruction's procedure.
void DropBeforeFaultingBlock(std::vector<TLine>& lines, uintptr_t fault) {
    const std::string faultPrefix = Format("%08X  ", unsigned(fault));
    size_t keepFrom = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].Instruction && lines[i].Text.rfind(faultPrefix, 0) == 0)
            break;
        if (lines[i].NamesBlock)
            keepFrom = i;
    }
    lines.erase(lines.begin(), lines.begin() + std::ptrdiff_t(keepFrom));
}

std::string InstructionPart(const std::string& line) {
    std::string instruction = line.substr(0, line.find(';'));
    instruction.erase(instruction.find_last_not_of(' ') + 1);
    return instruction;
}

// Every instruction line's comment starts in one column, 2 beyond the longest instruction.
void AlignComments(std::vector<TLine>& lines) {
    size_t widest = 0;
    for (const TLine& line : lines)
        if (line.Instruction)
            widest = std::max(widest, InstructionPart(line.Text).size());
    for (TLine& line : lines) {
        const size_t comment = line.Text.find(';');
        if (!line.Instruction || comment == std::string::npos)
            continue;
        const std::string instruction = InstructionPart(line.Text);
        line.Text = instruction + std::string(widest + 2 - instruction.size(), ' ') +
                    line.Text.substr(comment);
    }
}

} // namespace

std::string AssemblerListing(const void* address, const std::string& title) {
    TMemoryProbe memory;
    const auto fault = reinterpret_cast<uintptr_t>(address);
    if (!memory.Readable(fault, 4))
        return {};
    const TCodeWindow window(fault, kReach, kReach, memory);
    std::vector<TLine> lines = ListingLines(window, fault, memory);
    DropBeforeFaultingBlock(lines, fault);
    AlignComments(lines);
    size_t width = title.size() + 1;
    for (const TLine& line : lines)
        width = std::max(width, line.Text.size());
    std::string text = title + ":" + kCrLf + std::string(width, '-') + kCrLf;
    for (const TLine& line : lines)
        text += line.Text + kCrLf;
    return text;
}
