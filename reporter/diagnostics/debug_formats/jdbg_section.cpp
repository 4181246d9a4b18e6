#include "reporter/diagnostics/debug_formats/jdbg_section.h"
#include "reporter/diagnostics/debug_formats/module_stream.h"
#include "reporter/diagnostics/debug_formats/pe_image.h"
#include <algorithm>
#include <cstring>

namespace {

constexpr char kSectionName[IMAGE_SIZEOF_SHORT_NAME] = {'J', 'C', 'L', 'D', 'E', 'B', 'U', 'G'};

} // namespace

std::optional<std::vector<uint8_t>> JdbgSection(HMODULE module) {
    const std::optional<TPEImage> image = ReadPEImage(module);
    if (!image)
        return std::nullopt;
    for (const IMAGE_SECTION_HEADER& section : image->Sections) {
        if (std::memcmp(section.Name, kSectionName, sizeof kSectionName) != 0)
            continue;
        THModuleStream stream(module, image->Headers.OptionalHeader.SizeOfImage);
        stream.Seek(section.VirtualAddress);
        std::vector<uint8_t> bytes;
        if (stream.ReadArray(std::min(section.SizeOfRawData, section.Misc.VirtualSize), bytes))
            return bytes;
        return std::nullopt;
    }
    return std::nullopt;
}
