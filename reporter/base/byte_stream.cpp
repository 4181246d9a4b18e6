#include "reporter/base/byte_stream.h"
#include "runtime/format.h"

void ByteWriter::WriteLittleEndian(uint64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i)
        data_.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t ByteReader::ReadLittleEndian(size_t size) {
    Require(size);
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value |= uint64_t{data_[position_ + i]} << (8 * i);
    position_ += size;
    return value;
}

std::string ByteReader::ReadBytes(size_t count) {
    Require(count);
    std::string bytes(data_.begin() + static_cast<ptrdiff_t>(position_),
                      data_.begin() + static_cast<ptrdiff_t>(position_ + count));
    position_ += count;
    return bytes;
}

void ByteReader::Require(size_t count) const {
    if (count > Remaining())
        throw EStreamReadError(Format("The data ends early: %u bytes needed at offset %u, %u left.",
                                      unsigned(count), unsigned(position_), unsigned(Remaining())));
}
