// Little-endian access to headers and block headers; field values have their own encodings.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pdx {

inline uint16_t Get16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
inline uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void Put16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v) {
    Put16(p, uint16_t(v));
    Put16(p + 2, uint16_t(v >> 16));
}

// Block numbers and counts in index entries are stored like short fields: big-endian with
// the top bit flipped.
inline uint16_t GetIndexShort(const uint8_t* p) {
    return uint16_t((p[0] ^ 0x80) << 8 | p[1]);
}
inline void PutIndexShort(uint8_t* p, uint16_t v) {
    p[0] = uint8_t((v >> 8) ^ 0x80);
    p[1] = uint8_t(v);
}

// Whether n bytes from `at` lie within `size` bytes, for offsets and counts read from a file:
// no sum that could wrap.
inline bool Fits(size_t at, size_t n, size_t size) {
    return at <= size && n <= size - at;
}

inline bool AllZero(const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (p[i])
            return false;
    return true;
}

} // namespace pdx
