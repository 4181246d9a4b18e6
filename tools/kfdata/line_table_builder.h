// The crash reporter's own line table of a linked image, made from the image's DWARF line
// programs and procedure entries.
#pragma once
#include "build_phases.h"
#include "pe_file.h"
#include <cstdint>
#include <string>
#include <vector>

// Empty when the image carries no DWARF line information. Raises DwarfError or PeFileError
// for damaged data.
std::vector<uint8_t> BuildLineTable(const PeFile& image, const std::string& password,
                                    const BuildPhaseEnded& phaseEnded = nullptr);
