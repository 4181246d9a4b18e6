// Little-endian words inside fixture bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

inline void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
}

inline uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= uint32_t(bytes[at + i]) << (8 * i);
    return value;
}
