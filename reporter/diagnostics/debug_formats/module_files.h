// Files that belong to a loaded module: the debug files beside it and parts of its own image
// file. A file that is missing or unreadable gives nothing; no exception leaves here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

// The whole file named like the module with `extension` (".map") in place of its own.
std::optional<std::vector<uint8_t>> ReadModuleSibling(HMODULE module, const std::string& extension);

// `size` bytes from `offset` of the module's own file; nothing unless all of them exist.
std::optional<std::vector<uint8_t>> ReadModuleFilePart(HMODULE module, uint32_t offset,
                                                       uint32_t size);
