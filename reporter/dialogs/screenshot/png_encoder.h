// PNG files of palette pictures: 8-bit indices, a 256-entry palette, the image data deflated by
// zlib at level 9.
#pragma once
#include "reporter/dialogs/screenshot/octree_quantizer.h"
#include <string>

// The IDAT chunks are at most this long: the deflate stream's output buffer.
constexpr size_t kPngImageDataChunk = 0x3FFFF;

// The whole file: signature, IHDR, PLTE, IDAT chunks, IEND. Empty when zlib fails.
std::string EncodePng(const TPalettedPicture& picture);
