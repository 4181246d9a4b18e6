// Return addresses on a stack: a word counts as one when the bytes just before the address it
// holds are a call instruction.
#pragma once
#include "reporter/diagnostics/stack/memory_probe.h"
#include <optional>

struct TCallSite {
    uintptr_t Address = 0; // the call instruction
    uintptr_t Target = 0;  // what a direct call calls; 0 for calls through a register or memory
};

// The call instruction that returns to `returnAddress`, judged by the 7 bytes before it.
std::optional<TCallSite> CallSiteBefore(uintptr_t returnAddress, TMemoryProbe& memory);

// The procedure that a direct call to `target` enters: the target itself, or where the thunk
// there (an import's jump through a pointer, or a relative jump) leads. None when its first
// bytes cannot be read or are a call themselves.
std::optional<uintptr_t> CalledProcedure(uintptr_t target, TMemoryProbe& memory);
