#include "link_map.h"
#include <fstream>
#include <regex>
#include <set>

namespace {

// "                0x004015b0                A::Handle(int*)": a symbol. Section lines start
// with a section name, assignments hold " = ".
const std::regex kSymbolLine(R"(^\s+0x([0-9a-fA-F]+)\s+([^\s].*)$)");
const std::regex kImageBase(R"(^\s+0x[0-9a-fA-F]+\s+__image_base__ = 0x([0-9a-fA-F]+))");

std::string NameWithoutArguments(const std::string& name) {
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
    std::ifstream file(fileName);
    if (!file)
        throw LinkMapError(fileName + ": cannot be read");
    LinkMap map;
    std::string line;
    std::smatch m;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (std::regex_search(line, m, kImageBase))
            map.ImageBase = uint32_t(std::stoul(m[1], nullptr, 16));
        else if (std::regex_match(line, m, kSymbolLine) &&
                 m[2].str().find(" = ") == std::string::npos)
            map.Symbols.emplace(m[2], uint32_t(std::stoul(m[1], nullptr, 16)));
    }
    if (map.ImageBase == 0)
        throw LinkMapError(fileName + ": no __image_base__; not a map of a linked image");
    return map;
}
