#include "jdbg_writer.h"
#include "fixture_bytes.h"
#include <stdexcept>

namespace {

constexpr size_t kHeaderSize = 34;
constexpr uint32_t kListEnd = 0x7FFFFFFF;

void WriteNumber(std::vector<uint8_t>& out, uint32_t value) {
    while (value >= 0x80) {
        out.push_back(uint8_t(value | 0x80));
        value >>= 7;
    }
    out.push_back(uint8_t(value));
}

unsigned PackedCode(char c) {
    if (c >= '0' && c <= '9')
        return unsigned(c - '0') + 1;
    if (c >= 'A' && c <= 'Z')
        return unsigned(c - 'A') + 11;
    if (c >= 'a' && c <= 'z')
        return unsigned(c - 'a') + 37;
    if (c == '_')
        return 63;
    throw std::invalid_argument("not a packed character");
}

void WritePacked(std::vector<uint8_t>& out, const std::string& name) {
    std::vector<unsigned> codes;
    for (char c : name)
        codes.push_back(PackedCode(c));
    codes.push_back(0);
    while (codes.size() % 4)
        codes.push_back(0);
    for (size_t i = 0; i < codes.size(); i += 4) {
        const uint32_t bits =
            codes[i] | codes[i + 1] << 6 | codes[i + 2] << 12 | codes[i + 3] << 18;
        for (int b = 0; b < 3; ++b)
            out.push_back(uint8_t(bits >> (8 * b)));
    }
}

void WriteKeyed(std::vector<uint8_t>& out, const std::string& name) {
    out.push_back(1);
    for (char c : name)
        out.push_back(uint8_t(c) == 0xAA ? 0xAA : uint8_t(c) ^ 0xAA);
    out.push_back(0);
}

} // namespace

uint32_t TJdbgWriter::Name(const std::string& name, TJdbgNameForm form) {
    const auto index = uint32_t(pool_.size() + 1);
    if (form == TJdbgNameForm::KeyedText) {
        WriteKeyed(pool_, name);
    } else {
        if (form == TJdbgNameForm::AtPacked)
            pool_.push_back(2);
        WritePacked(pool_, name);
    }
    return index;
}

void TJdbgWriter::WriteList(std::vector<uint8_t>& out, const std::vector<TEntry>& entries,
                            bool twoValues) {
    TEntry previous{0, 0, 0};
    for (const TEntry& entry : entries) {
        WriteNumber(out, entry.Offset - previous.Offset);
        WriteNumber(out, entry.First - previous.First);
        if (twoValues)
            WriteNumber(out, entry.Second - previous.Second);
        previous = entry;
    }
    WriteNumber(out, kListEnd);
}

std::vector<uint8_t> TJdbgWriter::Bytes(bool checksum) const {
    std::vector<uint8_t> out{'J', 'D', 'B', 'G', 1};
    out.resize(kHeaderSize);
    const std::vector<const std::vector<TEntry>*> lists{&units_, &sources_, &symbols_, &lines_};
    for (size_t i = 0; i < lists.size(); ++i) {
        PutU32(out, 5 + 4 * i, uint32_t(out.size()));
        WriteList(out, *lists[i], lists[i] == &symbols_);
    }
    PutU32(out, 21, uint32_t(out.size()));
    out.insert(out.end(), pool_.begin(), pool_.end());
    while (out.size() % 4)
        out.push_back(0);
    out[33] = checksum;
    if (checksum) {
        uint32_t sum = 0;
        for (size_t at = 0; at < out.size(); at += 4)
            sum += GetU32(out, at);
        PutU32(out, 29, sum);
    }
    return out;
}
