// The 5-byte relative jump E9 rel32 that every code patch writes.
#pragma once
#include <array>
#include <cstdint>

constexpr std::size_t kRelativeJumpLength = 5;

using TRelativeJump = std::array<std::uint8_t, kRelativeJumpLength>;

// The jump as it must read when placed at `at`.
TRelativeJump RelativeJump(const void* at, const void* target);

// The displacement of a relative branch ending at `end` that leads to `target`.
std::int32_t RelativeDisplacement(const void* end, const void* target);
