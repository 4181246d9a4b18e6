#include "pe_file.h"
#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kPeSignature = 0x00004550; // "PE\0\0"
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint32_t kCoffHeaderSize = 20;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kSymbolSize = 18;

void Require(std::span<const uint8_t> bytes, size_t at, size_t size) {
    if (at > bytes.size() || size > bytes.size() - at)
        throw PeFileError("the image's headers end early");
}

uint32_t Read32(std::span<const uint8_t> bytes, size_t at) {
    Require(bytes, at, 4);
    return uint32_t(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                    uint32_t(bytes[at + 3]) << 24);
}

uint16_t Read16(std::span<const uint8_t> bytes, size_t at) {
    Require(bytes, at, 2);
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

} // namespace

PeFile::PeFile(std::span<const uint8_t> bytes) : bytes_(bytes) {
    if (bytes_.size() < 0x40 || bytes_[0] != 'M' || bytes_[1] != 'Z')
        throw PeFileError("not an executable image");
    const uint32_t pe = Read32(bytes_, 0x3C);
    if (Read32(bytes_, pe) != kPeSignature)
        throw PeFileError("not a PE image");
    const uint32_t coff = pe + 4;
    const uint32_t symbols = Read32(bytes_, coff + 8);
    if (symbols != 0)
        stringTable_ = symbols + Read32(bytes_, coff + 12) * kSymbolSize;
    const uint32_t optional = coff + kCoffHeaderSize;
    if (Read16(bytes_, optional) != kPe32Magic)
        throw PeFileError("not a 32-bit image");
    imageBase_ = Read32(bytes_, optional + 28);
    ReadSectionTable(coff);
}

void PeFile::ReadSectionTable(uint32_t coff) {
    const uint16_t count = Read16(bytes_, coff + 2);
    uint32_t at = coff + kCoffHeaderSize + Read16(bytes_, coff + 16);
    for (uint16_t i = 0; i < count; ++i, at += kSectionHeaderSize) {
        Require(bytes_, at, kSectionHeaderSize);
        PeSection s;
        s.Name = SectionName(&bytes_[at]);
        s.VirtualSize = Read32(bytes_, at + 8);
        s.VirtualAddress = Read32(bytes_, at + 12);
        s.RawSize = Read32(bytes_, at + 16);
        s.RawOffset = Read32(bytes_, at + 20);
        s.Characteristics = Read32(bytes_, at + 36);
        sections_.push_back(s);
    }
}

std::string PeFile::SectionName(const uint8_t* field) const {
    std::string name(reinterpret_cast<const char*>(field),
                     strnlen(reinterpret_cast<const char*>(field), 8));
    if (name.size() < 2 || name[0] != '/' || stringTable_ == 0)
        return name;
    const size_t at = stringTable_ + std::strtoul(name.c_str() + 1, nullptr, 10);
    if (at >= bytes_.size())
        throw PeFileError("a section name lies outside the file");
    const char* text = reinterpret_cast<const char*>(&bytes_[at]);
    return std::string(text, strnlen(text, bytes_.size() - at));
}

std::span<const uint8_t> PeFile::SectionData(const std::string& name) const {
    for (const auto& s : sections_) {
        if (s.Name != name)
            continue;
        // Raw data is padded to the file alignment; the virtual size is the section's own.
        const uint32_t size = s.VirtualSize ? std::min(s.VirtualSize, s.RawSize) : s.RawSize;
        if (s.RawOffset > bytes_.size() || size > bytes_.size() - s.RawOffset)
            throw PeFileError("section " + name + " lies outside the file");
        return {bytes_.data() + s.RawOffset, size};
    }
    return {};
}
