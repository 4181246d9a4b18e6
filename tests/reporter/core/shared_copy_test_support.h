// Direct access to the header of a shared options copy of this process, as a damaged or
// foreign writer would see it.
#pragma once
#include <cstdint>
#include <windows.h>

struct SharedHeader {
    uint32_t usableSize;
    uint8_t flag;
};

// Both raise std::runtime_error when the copy of `module` cannot be opened.
SharedHeader ReadSharedHeader(HMODULE module);
void WriteSharedHeader(HMODULE module, SharedHeader header);
