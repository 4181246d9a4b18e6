// Reduction of a true-colour picture to at most 256 colours by an octree.
#pragma once
#include <cstdint>
#include <vector>

struct TPaletteColour {
    uint8_t Red = 0, Green = 0, Blue = 0;
};

// A picture of palette indices, rows from the top down, one byte per pixel.
struct TPalettedPicture {
    int Width = 0;
    int Height = 0;
    std::vector<TPaletteColour> Palette; // at most 256 colours
    std::vector<uint8_t> Indices;        // Width * Height
};

// `rows` holds `height` rows of `width` pixels as blue, green, red bytes, the bottom row first,
// each row `stride` bytes long (as a device-independent bitmap of 24 bits keeps them). A picture
// of at most 256 distinct colours keeps them exactly.
TPalettedPicture QuantizeOctree(const uint8_t* rows, int width, int height, int stride);
