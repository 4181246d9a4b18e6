#include "reporter/core/interception/hooking/relative_jump.h"
#include <cstring>

std::int32_t RelativeDisplacement(const void* end, const void* target) {
    return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(target) -
                                     reinterpret_cast<std::uintptr_t>(end));
}

TRelativeJump RelativeJump(const void* at, const void* target) {
    TRelativeJump jump{0xE9};
    const std::int32_t displacement =
        RelativeDisplacement(static_cast<const std::uint8_t*>(at) + kRelativeJumpLength, target);
    std::memcpy(&jump[1], &displacement, sizeof displacement);
    return jump;
}
