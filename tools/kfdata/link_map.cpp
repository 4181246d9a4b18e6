#include "link_map.h"
#include "mapped_file.h"
#include <algorithm>
#include <optional>
#include <string_view>

namespace {

// Characters the map pads its columns with.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

size_t SkipSpaces(std::string_view text, size_t at) {
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    return at;
}

// The hexadecimal number at `at`, as many digits as there are; none: nullopt. Numbers too
// large for an address come back as kTooLarge.
constexpr uint64_t kTooLarge = uint64_t{UINT32_MAX} + 1;

std::optional<uint64_t> HexNumber(std::string_view text, size_t& at) {
    const size_t first = at;
    uint64_t value = 0;
    for (int digit; at < text.size() && (digit = HexDigit(text[at])) >= 0; ++at)
        value = std::min(value << 4 | uint64_t(digit), kTooLarge);
    return at > first ? std::optional<uint64_t>(value) : std::nullopt;
}

uint32_t Address(uint64_t number) {
    if (number >= kTooLarge)
        throw LinkMapError("an address of the map does not fit 32 bits");
    return uint32_t(number);
}

// "<spaces>0x<hex><spaces><rest>", the rest starting with something else than a space: the
// address column of a symbol or an assignment.
struct AddressLine {
    uint64_t Address = 0;
    std::string_view Rest;
};

std::optional<AddressLine> ReadAddressLine(std::string_view line) {
    size_t at = SkipSpaces(line, 0);
    if (at == 0 || line.substr(at, 2) != "0x")
        return std::nullopt;
    at += 2;
    const std::optional<uint64_t> address = HexNumber(line, at);
    const size_t rest = SkipSpaces(line, at);
    if (!address || rest == at || rest == line.size())
        return std::nullopt;
    return AddressLine{*address, line.substr(rest)};
}

// "__image_base__ = 0x400000"
std::optional<uint64_t> ImageBaseIn(std::string_view assignment) {
    constexpr std::string_view kImageBase = "__image_base__ = 0x";
    if (assignment.substr(0, kImageBase.size()) != kImageBase)
        return std::nullopt;
    size_t at = kImageBase.size();
    return HexNumber(assignment, at);
}

// A symbol's name is the rest of its line; assignments and lines broken inside are none.
bool IsSymbolName(std::string_view rest) {
    return rest.find(" = ") == std::string_view::npos &&
           rest.find_first_of("\r\n") == std::string_view::npos;
}

void ReadLine(std::string_view line, LinkMap& map) {
    const std::optional<AddressLine> entry = ReadAddressLine(line);
    if (!entry)
        return;
    if (const std::optional<uint64_t> base = ImageBaseIn(entry->Rest))
        map.ImageBase = Address(*base);
    else if (IsSymbolName(entry->Rest))
        map.Symbols.emplace(std::string(entry->Rest), Address(entry->Address));
}

MappedFile MappedMap(const std::string& fileName) {
    try {
        return MappedFile(fileName);
    } catch (const std::runtime_error&) {
        throw LinkMapError(fileName + ": cannot be read");
    }
}

std::string_view NameWithoutArguments(std::string_view name) {
    return name.substr(0, name.find('('));
}

} // namespace

uint32_t LinkMap::Address(const std::string& name) const {
    for (const auto& [symbol, address] : Symbols)
        if (NameWithoutArguments(symbol) == name)
            return address;
    return 0;
}

uint32_t LinkMap::SizeAt(uint32_t address) const {
    uint32_t next = UINT32_MAX;
    for (const auto& symbol : Symbols)
        if (symbol.second > address && symbol.second < next)
            next = symbol.second;
    return next == UINT32_MAX ? 0 : next - address;
}

LinkMap ReadLinkMap(const std::string& fileName) {
    const MappedFile file = MappedMap(fileName);
    LinkMap map;
    std::string_view rest(reinterpret_cast<const char*>(file.Bytes().data()), file.Bytes().size());
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ReadLine(line, map);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    if (map.ImageBase == 0)
        throw LinkMapError(fileName + ": no __image_base__; not a map of a linked image");
    return map;
}
