// The block cipher's process-wide key: one password at a time, shared by every thread that
// reads protected debug information or log entries.
#pragma once
#include "reporter/base/block_cipher.h"
#include <cstddef>
#include <cstdint>
#include <string_view>

// The MD5 digest of the password's bytes, read as four big-endian words.
TCipherKey CipherKeyFromPassword(std::string_view password);

// Replaces the current key; until the first call the key is all zero.
void SetCipherKey(std::string_view password);

// In place, chained from eight 0xFF bytes, with the current key.
void DecryptBuffer(uint8_t* bytes, size_t length);
void EncryptBuffer(uint8_t* bytes, size_t length);
