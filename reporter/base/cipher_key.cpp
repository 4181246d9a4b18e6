#include "reporter/base/cipher_key.h"
#include "reporter/base/big_endian.h"
#include "reporter/base/md5.h"
#include <mutex>

namespace {

struct TSharedKey {
    std::mutex mutex;
    TCipherKey key{};
};

TSharedKey& SharedKey() {
    static TSharedKey shared;
    return shared;
}

// A copy, so a buffer is worked on with one key even if another thread sets a new one.
TBlockCipher CurrentCipher() {
    TSharedKey& shared = SharedKey();
    std::lock_guard<std::mutex> lock(shared.mutex);
    return TBlockCipher(shared.key);
}

} // namespace

TCipherKey CipherKeyFromPassword(std::string_view password) {
    const TMd5Digest digest = Md5(password);
    TCipherKey key;
    for (size_t i = 0; i < key.size(); ++i)
        key[i] = ReadBigEndian32(&digest[4 * i]);
    return key;
}

void SetCipherKey(std::string_view password) {
    const TCipherKey key = CipherKeyFromPassword(password);
    TSharedKey& shared = SharedKey();
    std::lock_guard<std::mutex> lock(shared.mutex);
    shared.key = key;
}

void DecryptBuffer(uint8_t* bytes, size_t length) {
    CurrentCipher().DecryptBuffer(bytes, length);
}

void EncryptBuffer(uint8_t* bytes, size_t length) {
    CurrentCipher().EncryptBuffer(bytes, length);
}
