#include "table_family.h"
#include "memory_files.h"
#include <algorithm>
#include <cctype>

namespace table_family {

namespace {

constexpr char kTable[] = "C:\\FUZZ\\TABLE";
constexpr size_t kLongestExtension = 4;

bool IsExtension(const std::string& name) {
    return name.size() >= 2 && name.size() <= kLongestExtension && name[0] == '.' &&
           std::all_of(name.begin() + 1, name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

} // namespace

std::string Unpack(const uint8_t* data, size_t size) {
    std::string table;
    size_t at = 0;
    while (at < size) {
        const size_t stated = data[at++];
        const size_t nameSize = std::min(stated, size - at);
        const std::string name(reinterpret_cast<const char*>(data + at), nameSize);
        at += nameSize;
        uint32_t fileSize = 0;
        for (int i = 0; i < 4 && at < size; ++i)
            fileSize |= uint32_t(data[at++]) << (8 * i);
        const size_t kept = std::min<size_t>(fileSize, size - at);
        if (IsExtension(name)) {
            const std::string path = kTable + name;
            memory_files::Put(path, std::vector<uint8_t>(data + at, data + at + kept));
            if (table.empty() && (name == ".DB" || name == ".db"))
                table = path;
        }
        at += kept;
    }
    return table;
}

std::vector<uint8_t> Pack(const std::vector<TFile>& files) {
    std::vector<uint8_t> packed;
    for (const auto& [extension, bytes] : files) {
        packed.push_back(uint8_t(extension.size()));
        packed.insert(packed.end(), extension.begin(), extension.end());
        for (int i = 0; i < 4; ++i)
            packed.push_back(uint8_t(bytes.size() >> (8 * i)));
        packed.insert(packed.end(), bytes.begin(), bytes.end());
    }
    return packed;
}

} // namespace table_family
