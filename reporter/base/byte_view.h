// Bounds-checked little-endian reads anywhere in bytes owned elsewhere: the debug readers take
// untrusted files apart with it and turn any read past the end into EStreamReadError.
#pragma once
#include "reporter/base/byte_stream.h"
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class TByteView {
  public:
    TByteView() = default;
    TByteView(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit TByteView(const std::vector<uint8_t>& bytes)
        : data_(bytes.data()), size_(bytes.size()) {}

    size_t Size() const { return size_; }
    bool Has(size_t at, size_t count) const { return at <= size_ && count <= size_ - at; }

    uint8_t U8(size_t at) const { return uint8_t(Value(at, 1)); }
    uint16_t U16(size_t at) const { return uint16_t(Value(at, 2)); }
    uint32_t U32(size_t at) const { return uint32_t(Value(at, 4)); }
    std::string_view Text(size_t at, size_t count) const;
    // The bytes [at, at + count) as a view of their own.
    TByteView Part(size_t at, size_t count) const;

  private:
    uint32_t Value(size_t at, size_t count) const;
    void Require(size_t at, size_t count) const;

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};
