// The import address table of a loaded module's image.
#pragma once
#include <optional>
#include <string>
#include <vector>

// The address-table entries of every import descriptor that names `exportingModule` (without
// regard to case); nothing when the image has no PE header or no import directory.
std::optional<std::vector<void**>> ImportEntries(const void* imageBase,
                                                 const std::string& exportingModule);
