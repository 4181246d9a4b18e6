// The 16-bit CRC behind the crash reporter's error ID: polynomial 0x1021, not reflected,
// initial value 0, no final XOR (CRC-16/XMODEM).
#pragma once
#include <cstdint>
#include <string_view>

uint16_t Crc16(std::string_view text);
