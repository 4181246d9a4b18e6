#include "reporter/diagnostics/debug_formats/td32_image_reader.h"
#include "reporter/diagnostics/debug_formats/module_files.h"
#include "reporter/diagnostics/debug_formats/module_stream.h"
#include "reporter/diagnostics/debug_formats/pe_image.h"
#include <algorithm>

namespace {

// The debug directory lies at the start of a section of its own; its entries say where in the
// file the data lies.
std::vector<IMAGE_DEBUG_DIRECTORY> DebugDirectory(HMODULE module) {
    const std::optional<TPEImage> image = ReadPEImage(module);
    if (!image)
        return {};
    const IMAGE_DATA_DIRECTORY directory = image->Directory(IMAGE_DIRECTORY_ENTRY_DEBUG);
    const bool ownSection =
        directory.VirtualAddress != 0 &&
        std::any_of(image->Sections.begin(), image->Sections.end(),
                    [&](const IMAGE_SECTION_HEADER& section) {
                        return section.VirtualAddress == directory.VirtualAddress;
                    });
    std::vector<IMAGE_DEBUG_DIRECTORY> entries;
    THModuleStream stream(module, image->Headers.OptionalHeader.SizeOfImage);
    stream.Seek(directory.VirtualAddress);
    if (!ownSection || !stream.ReadArray(directory.Size / sizeof(IMAGE_DEBUG_DIRECTORY), entries))
        return {};
    return entries;
}

} // namespace

TKFTD32ImageReader::TKFTD32ImageReader(HMODULE module) {
    for (const IMAGE_DEBUG_DIRECTORY& entry : DebugDirectory(module)) {
        auto data = ReadModuleFilePart(module, entry.PointerToRawData, entry.SizeOfData);
        if (data && Take(*data))
            return;
    }
    if (auto data = ReadModuleSibling(module, ".tds"))
        Take(*data);
}

bool TKFTD32ImageReader::Take(const std::vector<uint8_t>& data) {
    scanner_ = std::make_unique<TKFTD32InfoScanner>(TByteView(data));
    if (!scanner_->ValidData())
        scanner_.reset();
    return scanner_ != nullptr;
}
