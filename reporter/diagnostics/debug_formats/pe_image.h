// The headers of a loaded module's image, read through guarded reads.
#pragma once
#include <optional>
#include <vector>
#include <windows.h>

struct TPEImage {
    IMAGE_NT_HEADERS32 Headers{};
    std::vector<IMAGE_SECTION_HEADER> Sections;

    // The data directory entry `index`; zero when the image has none.
    IMAGE_DATA_DIRECTORY Directory(unsigned index) const;
};

// Nothing when the module's memory does not start with readable 32-bit PE headers.
std::optional<TPEImage> ReadPEImage(HMODULE module);
