#include "reporter/core/interception/hooking/pe_imports.h"
#include <cstdint>
#include <cstring>
#include <windows.h>

namespace {

constexpr std::uint32_t kPeSignature = 0x00004550; // "PE\0\0"

const IMAGE_IMPORT_DESCRIPTOR* ImportDirectory(const std::uint8_t* base) {
    const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return nullptr;
    const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    if (nt->Signature != kPeSignature ||
        nt->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT)
        return nullptr;
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0 || directory.Size == 0)
        return nullptr;
    return reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
}

void AppendAddressTable(std::uint8_t* base, const IMAGE_IMPORT_DESCRIPTOR& descriptor,
                        std::vector<void**>& entries) {
    for (auto entry = reinterpret_cast<void**>(base + descriptor.FirstThunk); *entry; ++entry)
        entries.push_back(entry);
}

} // namespace

std::optional<std::vector<void**>> ImportEntries(const void* imageBase,
                                                 const std::string& exportingModule) {
    const auto base = static_cast<std::uint8_t*>(const_cast<void*>(imageBase));
    const IMAGE_IMPORT_DESCRIPTOR* descriptor = ImportDirectory(base);
    if (!descriptor)
        return std::nullopt;
    std::vector<void**> entries;
    for (; descriptor->Name != 0; ++descriptor) {
        const auto name = reinterpret_cast<const char*>(base + descriptor->Name);
        if (lstrcmpiA(name, exportingModule.c_str()) == 0)
            AppendAddressTable(base, *descriptor, entries);
    }
    return entries;
}
