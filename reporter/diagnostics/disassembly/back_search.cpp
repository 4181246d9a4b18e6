#include "reporter/diagnostics/disassembly/back_search.h"
#include "reporter/diagnostics/disassembly/instruction_length.h"

namespace {

// The number of instructions from `start` to `target`; -1 when the chain steps over it.
int InstructionsBetween(const TCodeWindow& window, uintptr_t start, uintptr_t target) {
    int count = 0;
    uintptr_t at = start;
    for (; at < target; ++count)
        at += ChainStep(window, at);
    return at == target ? count : -1;
}

} // namespace

unsigned ChainStep(const TCodeWindow& window, uintptr_t address) {
    const unsigned length = DecodeInstruction(window.At(address)).Length;
    return length ? length : 1;
}

uintptr_t ListingStart(const TCodeWindow& window, uintptr_t target, unsigned most) {
    uintptr_t start = window.Begin();
    int count = InstructionsBetween(window, start, target);
    while (count < 0)
        count = InstructionsBetween(window, ++start, target);
    for (; count > int(most); --count)
        start += ChainStep(window, start);
    return start;
}
