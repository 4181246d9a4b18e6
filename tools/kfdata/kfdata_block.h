// The crash reporter data of a linked image, made from its link map, its options text and
// (when given) the image's DWARF data: the body of the image's RCDATA resource "KFDATA".
#pragma once
#include "line_table_builder.h"
#include <cstdint>
#include <string>
#include <vector>

struct KFDataSources {
    std::string MapFile;
    std::string OptionsFile;
    std::string ImageFile; // empty: no line table
    std::string Password;  // enciphers the line table's names; empty: the empty password
};

struct KFDataBlock {
    std::vector<uint8_t> Bytes;
    std::vector<std::string> MissingProcedures; // known procedures the image does not link in
    std::string LineTableProblem; // why the image got no line table although one was asked for
};

// Raises LinkMapError, OptionsTextError or std::runtime_error when the map or the options
// cannot be used. An image without usable DWARF data gets no line table, and says why.
KFDataBlock BuildKFDataBlock(const KFDataSources& sources,
                             const BuildPhaseEnded& phaseEnded = nullptr);
