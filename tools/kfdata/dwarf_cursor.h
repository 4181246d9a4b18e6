// Bounds-checked reading of DWARF data: fixed-size little-endian values, LEB128 numbers and
// zero-terminated strings. Any read past the end raises DwarfError. The common cases are inline:
// the build step reads some millions of values, and under an emulator every call costs as much as
// a few dozen instructions.
#pragma once
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <stdexcept>
#include <string_view>

class DwarfError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The zero-terminated string at `offset` of a string section.
std::string_view StringAt(std::span<const uint8_t> section, uint64_t offset);

class DwarfCursor {
  public:
    explicit DwarfCursor(std::span<const uint8_t> data, size_t offset = 0)
        : data_(data), offset_(offset) {}

    uint8_t U8() {
        Require(1);
        return data_[offset_++];
    }
    uint16_t U16() { return uint16_t(Little<2>()); }
    uint32_t U32() { return uint32_t(Little<4>()); }
    uint64_t Fixed(size_t size) {
        if (size == 4)
            return Little<4>();
        return OtherFixed(size);
    }
    uint64_t Uleb() {
        if (offset_ < data_.size() && data_[offset_] < 0x80)
            return data_[offset_++];
        return LongUleb();
    }
    int64_t Sleb();
    // The string and its terminator.
    std::string_view CString() {
        std::string_view text = StringAt(data_, offset_);
        offset_ += text.size() + 1;
        return text;
    }
    void Skip(uint64_t count) {
        Require(count);
        offset_ += size_t(count);
    }
    // A unit's length field; the 64-bit format is not used by 32-bit images.
    uint32_t UnitLength();

    size_t Offset() const { return offset_; }
    bool AtEnd() const { return offset_ >= data_.size(); }

  private:
    void Require(uint64_t count) const {
        if (offset_ > data_.size() || count > data_.size() - offset_)
            throw DwarfError("DWARF data ends early");
    }
    template <size_t Size> uint64_t Little() {
        Require(Size);
        uint64_t value = 0;
        std::memcpy(&value, data_.data() + offset_, Size); // x86 is little-endian, like the data
        offset_ += Size;
        return value;
    }
    uint64_t OtherFixed(size_t size);
    uint64_t LongUleb();

    std::span<const uint8_t> data_;
    size_t offset_;
};

// Calls `read` with the offset of each unit of a section of length-prefixed units.
void ForEachUnit(std::span<const uint8_t> section, const std::function<void(size_t)>& read);

namespace dwarf_string {

// Whether one of the four bytes of `word` is zero.
inline bool HasZeroByte(uint32_t word) {
    return (word - 0x01010101u) & ~word & 0x80808080u;
}

// The length of the zero-terminated string at `text`, which has `room` bytes; `room` when it has
// no terminator there. Eight bytes a step: strings are a large part of what the build step reads.
inline size_t TerminatedLength(const uint8_t* text, size_t room) {
    const uint8_t* at = text;
    for (const uint8_t* lastStep = text + (room & ~size_t{7}); at != lastStep; at += 8) {
        uint32_t low, high;
        std::memcpy(&low, at, 4);
        std::memcpy(&high, at + 4, 4);
        if (HasZeroByte(low) || HasZeroByte(high))
            break;
    }
    const uint8_t* end = text + room;
    while (at != end && *at != 0)
        ++at;
    return size_t(at - text);
}

} // namespace dwarf_string

inline std::string_view StringAt(std::span<const uint8_t> section, uint64_t offset) {
    if (offset >= section.size())
        throw DwarfError("a DWARF string lies outside its section");
    const size_t room = section.size() - size_t(offset);
    const size_t length = dwarf_string::TerminatedLength(section.data() + offset, room);
    if (length == room)
        throw DwarfError("a DWARF string has no end");
    return {reinterpret_cast<const char*>(section.data() + offset), length};
}
