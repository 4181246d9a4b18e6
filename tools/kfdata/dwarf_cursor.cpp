#include "dwarf_cursor.h"

uint64_t DwarfCursor::OtherFixed(size_t size) {
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
