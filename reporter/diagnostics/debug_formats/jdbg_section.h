// JDBG data linked into a module as its "JCLDEBUG" section.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>
#include <windows.h>

// The section's bytes, as many as both its raw and its virtual size cover; nothing when the
// module has no such section or it cannot be read.
std::optional<std::vector<uint8_t>> JdbgSection(HMODULE module);
