// The assembler listing and the CPU section as XML.
#include "reporter/core/report/xml_sections.h"
#include "runtime/text.h"
#include <algorithm>

namespace {

// A dump line: "SSSSSSSS: VVVVVVVV   CCCCCCCC: " then 16 bytes as "XX " and 16 characters.
constexpr size_t kStackAddressAt = 0;
constexpr size_t kStackValueAt = 10;
constexpr size_t kCodeAddressAt = 21;
constexpr size_t kBytesAt = 31;
constexpr size_t kBytesSize = 48;
constexpr size_t kCharsAt = 80;
constexpr size_t kCharsSize = 16;
constexpr size_t kHexSize = 8;
constexpr char kDumpHeaderStart[] = "------------------   ";

// "EAX: 0012FF88   EDI: 00000000"
void AddRegisters(TXMLItem& registers, const std::string& line) {
    size_t start = 0;
    while (start < line.size()) {
        const size_t end = std::min(line.find("   ", start), line.size());
        const std::string pair = line.substr(start, end - start);
        if (const size_t colon = pair.find(": "); colon != std::string::npos)
            registers.AddAttribute(Trim(pair.substr(0, colon)), Trim(pair.substr(colon + 2)));
        start = end + 3;
    }
}

void AddDumpLine(TXMLItem& stack, TXMLItem& memory, const std::string& line) {
    TXMLItem& stackLine = stack.AddChild("Line");
    stackLine.AddAttribute("Address", line.substr(kStackAddressAt, kHexSize));
    stackLine.AddAttribute("Value", line.substr(kStackValueAt, kHexSize));
    TXMLItem& memoryLine = memory.AddChild("Line");
    memoryLine.AddAttribute("Address", line.substr(kCodeAddressAt, kHexSize));
    memoryLine.AddAttribute("Bytes", Trim(line.substr(kBytesAt, kBytesSize)));
    memoryLine.AddAttribute("Chars", line.substr(kCharsAt, kCharsSize));
}

} // namespace

// "00401000  mov eax, 1  ; comment", or a comment line "; text".
void AddAssemblerXml(TXMLItem& assembler, TReportLines section) {
    for (size_t i = 2; i < section.size(); ++i) {
        const std::string& text = section[i];
        if (text.empty())
            continue;
        const size_t addressEnd = text.starts_with(";") ? 0 : std::min(text.find(' '), text.size());
        const std::string rest = text.substr(addressEnd);
        const size_t semicolon = rest.find(';');
        TXMLItem& line = assembler.AddChild("Line");
        line.AddAttribute("Address", text.substr(0, addressEnd));
        line.AddAttribute("Command", Trim(rest.substr(0, semicolon)));
        line.AddAttribute("Comment",
                          semicolon == std::string::npos ? "" : Trim(rest.substr(semicolon + 1)));
    }
}

// Registers up to the empty line, the dump after its own dashed header.
void AddCpuXml(TXMLItem& cpu, TReportLines section) {
    TXMLItem& registers = cpu.AddChild("Registers");
    TXMLItem& stack = cpu.AddChild("Stack");
    TXMLItem& memory = cpu.AddChild("MemoryDump");
    size_t i = 2;
    for (; i < section.size() && !section[i].empty(); ++i)
        AddRegisters(registers, section[i]);
    while (i < section.size() && !section[i].starts_with(kDumpHeaderStart))
        ++i;
    for (++i; i < section.size(); ++i)
        if (section[i].size() >= kCharsAt + kCharsSize)
            AddDumpLine(stack, memory, section[i]);
}
