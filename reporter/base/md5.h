// MD5 message digest (RFC 1321).
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

using TMd5Digest = std::array<uint8_t, 16>;

// Digest of a message fed in pieces of any size.
class TMd5 {
  public:
    TMd5();
    void Update(std::string_view bytes);
    // Pads the message and returns its digest; the object takes no more input after that.
    TMd5Digest Finish();

  private:
    static constexpr size_t kBlockSize = 64;

    void AddToBlock(std::string_view& bytes);
    void ProcessBlock();

    std::array<uint32_t, 4> state_;
    std::array<uint8_t, kBlockSize> block_{};
    size_t blockFill_ = 0;
    uint64_t messageLength_ = 0;
};

TMd5Digest Md5(std::string_view bytes);
