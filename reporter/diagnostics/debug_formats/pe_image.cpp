#include "reporter/diagnostics/debug_formats/pe_image.h"
#include "reporter/diagnostics/debug_formats/module_stream.h"

IMAGE_DATA_DIRECTORY TPEImage::Directory(unsigned index) const {
    if (index >= Headers.OptionalHeader.NumberOfRvaAndSizes ||
        index >= IMAGE_NUMBEROF_DIRECTORY_ENTRIES)
        return {};
    return Headers.OptionalHeader.DataDirectory[index];
}

std::optional<TPEImage> ReadPEImage(HMODULE module) {
    THModuleStream stream(module);
    IMAGE_DOS_HEADER dos{};
    if (!stream.ReadValue(dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0)
        return std::nullopt;
    TPEImage image;
    stream.Seek(uint32_t(dos.e_lfanew));
    if (!stream.ReadValue(image.Headers) || image.Headers.Signature != IMAGE_NT_SIGNATURE ||
        image.Headers.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        return std::nullopt;
    // The section table follows the optional header, whatever size the file gives it.
    stream.Seek(uint32_t(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                image.Headers.FileHeader.SizeOfOptionalHeader);
    if (!stream.ReadArray(image.Headers.FileHeader.NumberOfSections, image.Sections))
        return std::nullopt;
    return image;
}
