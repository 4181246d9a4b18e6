#include "reporter/diagnostics/disassembly/code_window.h"

TCodeWindow::TCodeWindow(uintptr_t address, unsigned before, unsigned after, TMemoryProbe& memory) {
    const uintptr_t lowest = address > before ? address - before : 0;
    begin_ = address;
    while (begin_ > lowest && memory.Readable(begin_ - 1, 1))
        --begin_;
    end_ = address;
    while (end_ <= address + after && memory.Readable(end_, 1))
        ++end_;
    bytes_.assign(end_ - begin_ + kMaxInstructionBytes + 1, 0);
    if (!memory.Read(begin_, bytes_.data(), end_ - begin_))
        end_ = begin_;
}

TDisassembled Disassemble(const TDisAsm& disasm, const void* address) {
    TMemoryProbe memory;
    const auto at = reinterpret_cast<uintptr_t>(address);
    const TCodeWindow window(at, 0, kMaxInstructionBytes - 1, memory);
    return DisassembleBytes(disasm, window.At(at), window.AvailableAt(at), uint32_t(at));
}
