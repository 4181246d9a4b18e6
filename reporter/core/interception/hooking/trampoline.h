// The trampoline of a code patch: the whole instructions moved away from a procedure's start,
// made to work at their new place, followed by a jump back into the procedure.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct TTrampoline {
    std::uint8_t* Code = nullptr; // executable memory of its own
    std::size_t Size = 0;
    std::size_t Covered = 0; // bytes of the procedure's start that the copy replaces
};

// Raises EHookingError naming `procedureName` when an instruction at the start cannot be
// decoded or cannot be moved.
TTrampoline BuildTrampoline(const std::uint8_t* procedure, const std::string& procedureName);

void FreeTrampoline(const TTrampoline& trampoline);
