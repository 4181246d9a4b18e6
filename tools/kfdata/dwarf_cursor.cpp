#include "dwarf_cursor.h"
#include <cstring>

uint64_t DwarfCursor::Fixed(size_t size) {
    if (size > sizeof(uint64_t))
        throw DwarfError("a DWARF value is too wide");
    Require(size);
    uint64_t value = 0;
    std::memcpy(&value, data_.data() + offset_, size); // x86 is little-endian, like the data
    offset_ += size;
    return value;
}

uint64_t DwarfCursor::Uleb() {
    uint64_t value = 0;
    for (unsigned shift = 0;; shift += 7) {
        const uint8_t byte = U8();
        if (shift < 64)
            value |= uint64_t{byte & 0x7Fu} << shift;
        if (!(byte & 0x80))
            return value;
    }
}

int64_t DwarfCursor::Sleb() {
    uint64_t value = 0;
    unsigned shift = 0;
    uint8_t byte;
    do {
        byte = U8();
        if (shift < 64)
            value |= uint64_t{byte & 0x7Fu} << shift;
        shift += 7;
    } while (byte & 0x80);
    if (shift < 64 && (byte & 0x40))
        value |= ~uint64_t{0} << shift;
    return int64_t(value);
}

std::string_view DwarfCursor::CString() {
    std::string_view text = StringAt(data_, offset_);
    offset_ += text.size() + 1;
    return text;
}

void DwarfCursor::Skip(uint64_t count) {
    Require(count);
    offset_ += size_t(count);
}

uint32_t DwarfCursor::UnitLength() {
    const uint32_t length = U32();
    if (length >= 0xFFFFFFF0)
        throw DwarfError("64-bit DWARF is not supported");
    return length;
}

void ForEachUnit(std::span<const uint8_t> section, const std::function<void(size_t)>& read) {
    DwarfCursor in(section);
    while (!in.AtEnd()) {
        const size_t start = in.Offset();
        const uint32_t length = in.UnitLength();
        read(start);
        in = DwarfCursor(section, start + 4 + length);
    }
}

void DwarfCursor::Require(uint64_t count) const {
    if (offset_ > data_.size() || count > data_.size() - offset_)
        throw DwarfError("DWARF data ends early");
}

std::string_view StringAt(std::span<const uint8_t> section, uint64_t offset) {
    if (offset >= section.size())
        throw DwarfError("a DWARF string lies outside its section");
    const char* text = reinterpret_cast<const char*>(section.data() + offset);
    const size_t length = strnlen(text, section.size() - size_t(offset));
    if (length == section.size() - offset)
        throw DwarfError("a DWARF string has no end");
    return {text, length};
}
