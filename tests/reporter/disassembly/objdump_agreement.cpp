// Host program: reads `objdump -d -M intel --insn-width=16` of a PE image on standard input,
// disassembles every instruction objdump lists with our decoder, and compares the two listings
// instruction by instruction (mnemonic, operands normalised, length). Prints the agreement as a
// figure and every difference that is not a known difference of notation; exits 1 when there
// is any such difference.
#include "reporter/diagnostics/disassembly/disassembler.h"
#include "runtime/format.h"
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TListed {
    uint32_t Address;
    std::vector<uint8_t> Bytes;
    std::string Text;
};

// Where the two listings write the same instruction differently by design; the patterns match
// the normalised texts (objdump's, ours).
struct TKnownDifference {
    const char* Objdump;
    const char* Ours;
    bool SameLength;
    const char* Reason;
};

const TKnownDifference kKnownDifferences[] = {
    {"fn?(st|ld|sav|cl|in|ststs).*", "fwait", false,
     "objdump folds fwait into the x87 instruction after it; we list it on its own, as the "
     "processor reads it"},
    {"(pusha|popa|pushf|popf|iret)", "$1d", true,
     "the 32-bit forms carry the suffix d, as the 16-bit ones carry w"},
    {"xchg ax,ax", "nop", true, "66 90 is nop whatever its operand size"},
    {"pause", "rep nop", true, "F3 90 is named by its prefix"},
    {"mov (.*)(c|d|t)r(\\d)(.*)", "mov $1$2$3$4", true,
     "control, debug and test registers are C0..C7, D0..D7, T0..T7"},
    {"mov (.*)\\?(.*)", "mov $1$2", true, "segment registers 6 and 7 do not exist: no name"},
    {"(push|call|jmp|ret)w (.*)", "$1 $2", true, "operand-size prefixed branches and pushes"},
    {"lock (movs|cmps|stos|lods|scas|ins|outs) .*", "lock $1[bwd]", true,
     "a locked string instruction (never valid code, so data): objdump drops its operand size"},
    {"(tzcnt|lzcnt|popcnt) (.*)", "rep (bsf|bsr|db) .*", true,
     "later extensions in the F3 row: the repeat prefix before the older instruction, or data"},
    {"(rdrand|rdseed|sfence|lfence|mfence|fxsave|fxrstor|ldmxcsr|stmxcsr|clflush|fisttp|cmpxchg16b|"
     "xgetbv|"
     "rdtscp|endbr32|ud1|movbe|movnti|crc32|prefetchw?|nop|xsave|xrstor|cldemote)\\b.*",
     "db .*", false, "later extensions than the tables cover: listed as data"},
    {"[a-z0-9]+ .*xmm.*", "db .*|[a-z0-9]+ .*mm.*", false,
     "SSE instructions: beyond the tables; their bytes are data or an MMX form to us"},
};

std::string Lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// objdump writes string instructions with their implied operands; we write the size suffix.
std::string StringInstruction(const std::string& text) {
    static const std::regex form("((?:rep[a-z]* )?)(movs|cmps|stos|lods|scas|ins|outs) "
                                 "+(?:[a-z]+,)?(byte|word|dword) ptr.*");
    std::smatch match;
    if (text.rfind("xlat", 0) == 0)
        return "xlat";
    if (!std::regex_match(text, match, form))
        return text;
    const std::string size = match[3];
    return match[1].str() + match[2].str() + (size == "byte" ? "b" : size == "word" ? "w" : "d");
}

// Terms inside brackets sorted, so that "[base+index*scale+disp]" matches in any order.
std::string SortedAddresses(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '[') {
            out += text[i];
            continue;
        }
        const size_t close = text.find(']', i);
        if (close == std::string::npos)
            return text;
        std::vector<std::string> terms;
        std::string term;
        for (size_t j = i + 1; j < close; ++j) {
            if (text[j] == '+' && !term.empty()) {
                terms.push_back(term);
                term.clear();
            } else {
                term += text[j];
            }
        }
        terms.push_back(term);
        std::sort(terms.begin(), terms.end());
        out += "[";
        for (size_t t = 0; t < terms.size(); ++t)
            out += (t ? "+" : "") + terms[t];
        out += "]";
        i = close;
    }
    return out;
}

// Every number becomes "#" and its value as 32 bits: "$hex" (ours), "0x..." (objdump); a sign
// before it goes into the value, and leaves "+" behind where it joined two terms.
std::string CanonicalNumbers(const std::string& text, bool withWidths) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const bool dollar = text[i] == '$';
        const bool prefixed = text.compare(i, 2, "0x") == 0;
        if (!dollar && !prefixed) {
            out += text[i++];
            continue;
        }
        size_t digits = i + (dollar ? 1 : 2), end = digits;
        while (end < text.size() && std::isxdigit(static_cast<unsigned char>(text[end])))
            ++end;
        uint32_t value = uint32_t(std::stoull(text.substr(digits, end - digits), nullptr, 16));
        if (!out.empty() && (out.back() == '-' || out.back() == '+')) {
            if (out.back() == '-')
                value = 0u - value;
            const bool binary =
                out.size() > 1 && (std::isalnum(static_cast<unsigned char>(out[out.size() - 2])) ||
                                   out[out.size() - 2] == ']');
            if (binary)
                out.back() = '+';
            else
                out.pop_back();
        }
        out += Format("#%x", unsigned(value));
        if (withWidths)
            out += Format("/%u", unsigned(end - digits) / 2);
        i = end;
    }
    return out;
}

std::string Normalised(std::string text) {
    text = Lower(text);
    const size_t symbol = text.find(" <");
    if (symbol != std::string::npos)
        text.erase(symbol);
    text = StringInstruction(text);
    static const std::regex absolute("\\bds:(0x[0-9a-f]+)");
    text = std::regex_replace(text, absolute, "[$1]");
    static const std::regex noise("\\b(byte|word|dword|fword|qword|tbyte|xmmword|mmword) ptr |"
                                  "\\b(data16|addr16) |^(es|cs|ss|ds|fs|gs) "
                                  "|\\+eiz\\*[1248]|\\beiz(\\*[1248])?\\+?|\\*1\\b|\\bds:");
    text = std::regex_replace(text, noise, "");
    // An absolute address after a segment register: objdump leaves out the brackets.
    static const std::regex bare("\\b(es|cs|ss|fs|gs):(0x[0-9a-f]+)");
    text = std::regex_replace(text, bare, "$1:[$2]");
    // Branch targets: objdump writes the address in hexadecimal without "0x".
    static const std::regex target("^((?:j|call|loop)[a-z]* +)([0-9a-f]+)$");
    text = std::regex_replace(text, target, "$010x$2");
    static const std::regex repeats("^rep[ez] ");
    text = std::regex_replace(text, repeats, "rep ");
    ReplaceAll(text, "repnz ", "repne ");
    static const std::regex blanks(" +");
    text = std::regex_replace(text, blanks, " ");
    const size_t mnemonicEnd = text.find(' ');
    if (mnemonicEnd == std::string::npos)
        return text;
    std::string operands = text.substr(mnemonicEnd + 1);
    operands.erase(std::remove(operands.begin(), operands.end(), ' '), operands.end());
    const std::string mnemonic = text.substr(0, mnemonicEnd);
    if (mnemonic == "rep" || mnemonic == "repne" || mnemonic == "lock")
        return mnemonic + " " + Normalised(text.substr(mnemonicEnd + 1));
    return text.substr(0, mnemonicEnd) + " " + operands;
}

// Our numbers may be narrower than objdump's (a sign-extended byte): compare the low bytes.
bool SameInstruction(const std::string& objdump, const std::string& ours) {
    const std::string a = SortedAddresses(CanonicalNumbers(objdump, false));
    const std::string b = SortedAddresses(CanonicalNumbers(ours, true));
    static const std::regex number("#([0-9a-f]+)(?:/([0-9]+))?");
    struct TParts {
        std::vector<std::string> Texts;
        std::vector<uint32_t> Values;
        std::vector<unsigned> Widths;
    };
    auto split = [](const std::string& text) {
        TParts parts;
        size_t at = 0;
        for (std::sregex_iterator i(text.begin(), text.end(), number), end; i != end; ++i) {
            parts.Texts.push_back(text.substr(at, size_t(i->position()) - at));
            parts.Values.push_back(uint32_t(std::stoul((*i)[1].str(), nullptr, 16)));
            parts.Widths.push_back((*i)[2].matched ? unsigned(std::stoul((*i)[2].str())) : 4);
            at = size_t(i->position() + i->length());
        }
        parts.Texts.push_back(text.substr(at));
        return parts;
    };
    const TParts partsA = split(a), partsB = split(b);
    if (partsA.Texts != partsB.Texts)
        return false;
    for (size_t i = 0; i < partsA.Values.size(); ++i) {
        const unsigned width = partsB.Widths[i];
        const uint32_t mask = width >= 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1;
        if (((partsA.Values[i] ^ partsB.Values[i]) & mask) != 0)
            return false;
    }
    return true;
}

std::vector<TListed> ReadListing(std::istream& in) {
    static const std::regex line("^ *([0-9a-f]+):\t([0-9a-f ]+)\t(.*)$");
    std::vector<TListed> listed;
    std::string text;
    std::smatch match;
    while (std::getline(in, text)) {
        if (!std::regex_match(text, match, line))
            continue;
        TListed entry{uint32_t(std::stoul(match[1].str(), nullptr, 16)), {}, match[3].str()};
        std::istringstream hex(match[2].str());
        for (unsigned byte = 0; hex >> std::hex >> byte;)
            entry.Bytes.push_back(uint8_t(byte));
        listed.push_back(std::move(entry));
    }
    return listed;
}

// The bytes from each listed instruction on, as far as the listing runs without a gap.
struct TCode {
    std::map<uint32_t, std::vector<uint8_t>> Runs;
    const uint8_t* At(uint32_t address, size_t& available) const {
        auto run = Runs.upper_bound(address);
        if (run == Runs.begin())
            return nullptr;
        --run;
        const size_t offset = address - run->first;
        if (offset >= run->second.size())
            return nullptr;
        available = run->second.size() - offset;
        return run->second.data() + offset;
    }
};

TCode CodeOf(const std::vector<TListed>& listed) {
    TCode code;
    std::vector<uint8_t>* run = nullptr;
    uint32_t end = 0;
    for (const TListed& entry : listed) {
        if (!run || entry.Address != end)
            run = &code.Runs[entry.Address];
        run->insert(run->end(), entry.Bytes.begin(), entry.Bytes.end());
        end = entry.Address + uint32_t(entry.Bytes.size());
    }
    return code;
}

void TargetAsAddress(void*, uint32_t, uint32_t target, std::string& text) {
    text = Format("$%08X", unsigned(target));
}

// The pattern with "$n" replaced by objdump's group n, taken literally.
std::string WithGroups(const char* pattern, const std::smatch& match) {
    static const std::regex special("[.^$|()\\[\\]{}*+?\\\\]");
    std::string out;
    for (const char* at = pattern; *at; ++at) {
        if (at[0] == '$' && std::isdigit(static_cast<unsigned char>(at[1])))
            out += std::regex_replace(match[size_t(*++at - '0')].str(), special, "\\$&");
        else
            out += *at;
    }
    return out;
}

const TKnownDifference* KnownDifference(const std::string& objdump, const std::string& ours,
                                        bool sameLength) {
    for (const TKnownDifference& known : kKnownDifferences) {
        std::smatch match;
        if (!std::regex_match(objdump, match, std::regex(known.Objdump)))
            continue;
        const std::string expected = WithGroups(known.Ours, match);
        if ((known.SameLength && !sameLength) || !std::regex_match(ours, std::regex(expected)))
            continue;
        return &known;
    }
    return nullptr;
}

// Bytes objdump did not try to read (the end of a symbol).
bool NotRead(const TListed& entry) {
    return entry.Text.rfind(".byte", 0) == 0;
}

bool Undefined(const TListed& entry) {
    return entry.Text.find("(bad)") != std::string::npos;
}

} // namespace

int main(int argc, char** argv) {
    const std::string name = argc > 1 ? argv[1] : "image";
    const std::vector<TListed> listed = ReadListing(std::cin);
    const TCode code = CodeOf(listed);
    TDisAsm disasm;
    disasm.JumpTarget = disasm.CallTarget = TargetAsAddress;
    size_t agreed = 0, compared = 0, unexplained = 0;
    std::map<const TKnownDifference*, size_t> known;
    for (const TListed& entry : listed) {
        size_t available = 0;
        const uint8_t* bytes = code.At(entry.Address, available);
        const TDisassembled ours = DisassembleBytes(disasm, bytes, available, entry.Address);
        if (NotRead(entry))
            continue;
        ++compared;
        if (Undefined(entry)) {
            agreed += !ours.Defined;
            if (ours.Defined && ++unexplained <= 30)
                std::printf("  %08X objdump: %s | ours: %s\n", unsigned(entry.Address),
                            entry.Text.c_str(), ours.Text.c_str());
            continue;
        }
        const std::string a = Normalised(entry.Text), b = Normalised(ours.Text);
        const bool sameLength = ours.Length == entry.Bytes.size();
        if (sameLength && SameInstruction(a, b)) {
            ++agreed;
            continue;
        }
        if (const TKnownDifference* difference = KnownDifference(a, b, sameLength)) {
            ++known[difference];
            continue;
        }
        if (++unexplained <= 200)
            std::printf("  %08X %s objdump: %s (%zu) | ours: %s (%u)\n", unsigned(entry.Address),
                        Format("%02X %02X %02X", entry.Bytes[0],
                               entry.Bytes.size() > 1 ? entry.Bytes[1] : 0,
                               entry.Bytes.size() > 2 ? entry.Bytes[2] : 0)
                            .c_str(),
                        a.c_str(), entry.Bytes.size(), b.c_str(), ours.Length);
    }
    std::printf("%s: %zu instructions, %zu agree (%.3f%%), %zu known differences, %zu others\n",
                name.c_str(), compared, agreed,
                compared ? 100.0 * double(agreed) / double(compared) : 0.0,
                compared - agreed - unexplained, unexplained);
    for (const auto& [difference, count] : known)
        std::printf("  %zu x %s: %s\n", count, difference->Objdump, difference->Reason);
    return unexplained == 0 && compared > 0 ? 0 : 1;
}
