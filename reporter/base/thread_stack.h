// The calling thread's stack: its base (the highest address, from the thread information
// block) and where it stands now.
#pragma once
#include <cstddef>
#include <cstdint>

inline void* StackBase() {
    void* base;
    asm("movl %%fs:4, %0" : "=r"(base)); // NT_TIB.StackBase
    return base;
}

inline void* StackPointer() {
    void* position;
    asm volatile("movl %%esp, %0" : "=r"(position));
    return position;
}

// Bytes of the calling thread's stack from `from` up to its base, at most `limit`; 0 for a
// position outside the stack's used part.
inline size_t LiveStackBytes(const void* from, size_t limit) {
    const auto start = reinterpret_cast<uintptr_t>(from);
    const auto base = reinterpret_cast<uintptr_t>(StackBase());
    return start < base ? (base - start < limit ? base - start : limit) : 0;
}
