// The CRC-32 of ZIP and Ethernet (reflected polynomial 0xEDB88320, initial value 0xFFFFFFFF,
// final complement).
#pragma once
#include <cstdint>
#include <string_view>

// The CRC of everything so far when bytes follow data whose CRC was previous; start from 0.
// Lets the archive writer checksum data it streams in pieces.
uint32_t Crc32Update(uint32_t previous, std::string_view bytes);

// 0 for empty input.
inline uint32_t Crc32(std::string_view bytes) {
    return Crc32Update(0, bytes);
}
