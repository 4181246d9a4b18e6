// The assembler and CPU sections: the listing, the registers and a dump of the stack beside
// the code at the exception address.
#include "reporter/base/readable_memory.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/report/report_sections.h"
#include "reporter/core/report/report_text.h"
#include "reporter/core/report/text_table.h"
#include "runtime/format.h"

namespace {

constexpr int kDumpLines = 16;
constexpr size_t kStackBytesPerLine = 4;
constexpr size_t kCodeBytesPerLine = 16;
constexpr size_t kStackColumnWidth = 21;
constexpr char kUnknownRegister[] = "????    ";

bool AssemblerAndCpuWanted(const TVessarModuleOptions& options) {
    return (options.Stored().LogFlags & LogFlag::AssemblerAndCpu) != 0;
}

std::string Register(const CONTEXT* context, DWORD CONTEXT::*reg) {
    return context ? Format("%08lX", context->*reg) : kUnknownRegister;
}

char Shown(uint8_t byte) {
    return byte < 32 || byte > 126 ? '.' : char(byte);
}

std::string DumpLine(const uint8_t* stack, const uint8_t* code) {
    std::string line = Format("%08X: %08lX   %08X: ", unsigned(uintptr_t(stack)),
                              *reinterpret_cast<const DWORD*>(stack), unsigned(uintptr_t(code)));
    for (size_t i = 0; i < kCodeBytesPerLine; ++i)
        line += Format("%02X ", code[i]);
    line += ' ';
    for (size_t i = 0; i < kCodeBytesPerLine; ++i)
        line += Shown(code[i]);
    return line + kCrLf;
}

// Empty unless both the stack and the code it shows can be read in full.
std::string Dump(const CONTEXT* context, const void* exceptionAddress) {
    if (!context)
        return {};
    const auto* stack = reinterpret_cast<const uint8_t*>(uintptr_t(context->Esp));
    const auto* code = static_cast<const uint8_t*>(exceptionAddress);
    if (!IsReadableMemory(stack, kDumpLines * kStackBytesPerLine) ||
        !IsReadableMemory(code, kDumpLines * kCodeBytesPerLine))
        return {};
    std::string dump;
    for (int k = 0; k < kDumpLines; ++k)
        dump += DumpLine(stack + k * kStackBytesPerLine, code + k * kCodeBytesPerLine);
    return dump;
}

} // namespace

std::string AssemblerSection(const TVessarModuleOptions& options, const TReportData& data) {
    // An empty listing gets the title alone, so that the CPU section is not taken for it.
    if (!AssemblerAndCpuWanted(options) || data.Assembler.empty())
        return ShortSection(options.Text(kTextTitleAssembler));
    std::string listing = data.Assembler;
    listing.erase(listing.find_last_not_of("\r\n") + 1);
    return listing + kCrLf + kCrLf;
}

std::string CpuSection(const TVessarModuleOptions& options, const TReportData& data) {
    if (!AssemblerAndCpuWanted(options))
        return ShortSection(options.Text(kTextCpuRegisters));
    const CONTEXT* c = data.Context;
    return Format("%s:\r\n-----------------------------\r\n"
                  "EAX: %s   EDI: %s\r\nEBX: %s   ESI: %s\r\nECX: %s   ESP: %s\r\nEDX: %s   EIP: %s"
                  "\r\n\r\n%s%s:\r\n------------------   "
                  "---------------------------------------------------------------------------"
                  "\r\n%s",
                  options.Text(kTextCpuRegisters).c_str(), Register(c, &CONTEXT::Eax).c_str(),
                  Register(c, &CONTEXT::Edi).c_str(), Register(c, &CONTEXT::Ebx).c_str(),
                  Register(c, &CONTEXT::Esi).c_str(), Register(c, &CONTEXT::Ecx).c_str(),
                  Register(c, &CONTEXT::Esp).c_str(), Register(c, &CONTEXT::Edx).c_str(),
                  Register(c, &CONTEXT::Eip).c_str(),
                  PaddedRight(options.Text(kTextCpuStack) + ":", kStackColumnWidth).c_str(),
                  options.Text(kTextCpuMemoryDump).c_str(), Dump(c, data.ExceptionAddress).c_str());
}
