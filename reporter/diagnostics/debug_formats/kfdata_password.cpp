#include "reporter/diagnostics/debug_formats/kfdata_password.h"
#include "reporter/base/cipher_key.h"
#include "reporter/diagnostics/debug_formats/kfdata_container.h"

namespace {

using Word = uint8_t[4];

void ToBytes(uint32_t value, Word bytes) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(value >> (8 * i));
}

uint32_t FromBytes(const Word bytes) {
    return uint32_t(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24);
}

} // namespace

uint32_t PasswordCheckValue(const std::string& password) {
    Word bytes;
    ToBytes(kKFDataMagic, bytes);
    TBlockCipher(CipherKeyFromPassword(password)).EncryptBuffer(bytes, sizeof bytes);
    return FromBytes(bytes);
}

bool PasswordFits(uint32_t checkValue, const std::string& password) {
    Word bytes;
    ToBytes(checkValue, bytes);
    TBlockCipher(CipherKeyFromPassword(password)).DecryptBuffer(bytes, sizeof bytes);
    return FromBytes(bytes) == kKFDataMagic;
}
