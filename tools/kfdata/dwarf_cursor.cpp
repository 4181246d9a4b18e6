#include "dwarf_cursor.h"

namespace {

// The length of the zero-terminated string at `text`, which has `room` bytes; `room` when it has
// no terminator there. Four bytes a step: strings are a large part of what the build step reads.
size_t TerminatedLength(const uint8_t* text, size_t room) {
    size_t length = 0;
    for (; room - length >= 4; length += 4) {
        uint32_t word;
        std::memcpy(&word, text + length, 4);
        if ((word - 0x01010101u) & ~word & 0x80808080u)
            break; // a zero byte among these four
    }
    while (length < room && text[length] != 0)
        ++length;
    return length;
}

} // namespace

uint64_t DwarfCursor::Fixed(size_t size) {
    if (size > sizeof(uint64_t))
        throw DwarfError("a DWARF value is too wide");
    Require(size);
    uint64_t value = 0;
    std::memcpy(&value, data_.data() + offset_, size);
    offset_ += size;
    return value;
}

uint64_t DwarfCursor::LongUleb() {
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

std::string_view StringAt(std::span<const uint8_t> section, uint64_t offset) {
    if (offset >= section.size())
        throw DwarfError("a DWARF string lies outside its section");
    const size_t room = section.size() - size_t(offset);
    const size_t length = TerminatedLength(section.data() + offset, room);
    if (length == room)
        throw DwarfError("a DWARF string has no end");
    return {reinterpret_cast<const char*>(section.data() + offset), length};
}
