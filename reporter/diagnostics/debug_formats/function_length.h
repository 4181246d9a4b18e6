// How long a procedure's code is, for exports, which carry no length of their own.
#pragma once
#include <cstdint>

// The bytes from `start` up to and including its first return instruction. Decoding stops
// early (and the bytes measured so far count) at code that is unreadable or not an
// instruction, and after 64 KB.
uint32_t ProcedureLength(const void* start);
