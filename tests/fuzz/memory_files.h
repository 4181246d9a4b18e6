// The files of the engine's fuzz targets: in memory, named as Windows names them (letter case
// aside), with the share modes of the system's calls (engine_host/windows.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace memory_files {

// No files and no open handles: each input starts here.
void Clear();
void Put(const std::string& path, const std::vector<uint8_t>& bytes);
// Every file's path, as it was created.
std::vector<std::string> Paths();
std::vector<uint8_t> Bytes(const std::string& path);

} // namespace memory_files
