// The options block: the binary form in which options travel (KFDATA, shared copy, files).
#pragma once
#include "reporter/base/byte_stream.h"
#include <string>

class TVessarModuleOptions;

// A string: int32 byte count, then the bytes XOR 0x5A. A string whose first CR LF ends it is
// written without that CR LF.
void WriteBlockString(ByteWriter& stream, const std::string& text);
std::string ReadBlockString(ByteReader& stream);

// Writes the version-6000 layout.
void WriteOptionsBlock(ByteWriter& stream, const TVessarModuleOptions& options);
// Reads a block written by container version `version` into `options`, converting older layouts.
void ReadOptionsBlock(ByteReader& stream, int version, TVessarModuleOptions& options);
