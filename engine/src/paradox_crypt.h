// Password protection of Paradox tables: the password checksum kept in the table header and
// the block cipher applied to data blocks (.DB, .Xnn) and to memo/BLOB files (.MB).
//
// The cipher key is the low 16 bits of the stored checksum; the high half only lets the engine
// check a password. All functions work in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pdx {

// Checksum stored in the header of a protected table; 0 for the empty password (no protection).
// The password is taken byte for byte (so case-sensitive); only its first 256 bytes count.
uint32_t PasswordChecksum(std::string_view password);

// A whole data block of a .DB or .Xnn file. size is the block size (a multiple of 1024),
// blockNumber the block's physical position in the file, counted from 1. The block number is
// part of the key, so a block must be re-encrypted when it moves.
void EncryptDataBlock(uint8_t* block, size_t size, uint32_t key, uint32_t blockNumber);
void DecryptDataBlock(uint8_t* block, size_t size, uint32_t key, uint32_t blockNumber);

// Bytes of a .MB file, header block included. fileOffset and size must be multiples of 256.
void EncryptBlobBytes(uint8_t* data, size_t size, uint64_t fileOffset, uint32_t key);
void DecryptBlobBytes(uint8_t* data, size_t size, uint64_t fileOffset, uint32_t key);

} // namespace pdx
