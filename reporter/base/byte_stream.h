// Little-endian byte writer and bounds-checked reader for the crash reporter's binary blocks.
#pragma once
#include "runtime/exception.h"
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Raised when a block ends before a value that it should hold.
class EStreamReadError : public Exception {
  public:
    using Exception::Exception;
};

class ByteWriter {
  public:
    void WriteU8(uint8_t value) { data_.push_back(value); }
    void WriteU16(uint16_t value) { WriteLittleEndian(value, 2); }
    void WriteU32(uint32_t value) { WriteLittleEndian(value, 4); }
    void WriteI32(int32_t value) { WriteU32(static_cast<uint32_t>(value)); }
    void WriteLittleEndian(uint64_t value, size_t size);
    void WriteBytes(const std::string& bytes) {
        data_.insert(data_.end(), bytes.begin(), bytes.end());
    }
    void WriteBytes(std::span<const uint8_t> bytes) {
        data_.insert(data_.end(), bytes.begin(), bytes.end());
    }
    // Empty again, keeping the memory for what is written next.
    void Clear() { data_.clear(); }

    const std::vector<uint8_t>& Data() const { return data_; }

  private:
    std::vector<uint8_t> data_;
};

// Reads from bytes owned by the caller, which must outlive the reader.
class ByteReader {
  public:
    explicit ByteReader(const std::vector<uint8_t>& data) : data_(data) {}

    uint8_t ReadU8() { return static_cast<uint8_t>(ReadLittleEndian(1)); }
    uint16_t ReadU16() { return static_cast<uint16_t>(ReadLittleEndian(2)); }
    uint32_t ReadU32() { return static_cast<uint32_t>(ReadLittleEndian(4)); }
    int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
    uint64_t ReadLittleEndian(size_t size);
    std::string ReadBytes(size_t count);

    size_t Position() const { return position_; }
    size_t Remaining() const { return data_.size() - position_; }

  private:
    // Checked before every read, so that a damaged length never reads or allocates past the end.
    void Require(size_t count) const;

    const std::vector<uint8_t>& data_;
    size_t position_ = 0;
};
