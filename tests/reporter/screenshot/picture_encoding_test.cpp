// Colour reduction and the PNG layout, on pictures made in memory.
#include "reporter/dialogs/screenshot/octree_quantizer.h"
#include "reporter/dialogs/screenshot/png_encoder.h"
#include <gtest/gtest.h>
#include <random>
#include <set>

namespace {

// Bottom-up rows of blue, green, red, each rounded up to 4 bytes, from a colour per pixel.
struct TrueColourPicture {
    int Width, Height, Stride;
    std::vector<uint8_t> Rows;

    TrueColourPicture(int width, int height, uint32_t (*colour)(int x, int y))
        : Width(width), Height(height), Stride((width * 3 + 3) & ~3),
          Rows(size_t(Stride) * size_t(height), 0xEE) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint32_t c = colour(x, y);
                uint8_t* p = &Rows[size_t(height - 1 - y) * size_t(Stride) + size_t(x) * 3];
                p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
            }
    }
    TPalettedPicture Quantized() const {
        return QuantizeOctree(Rows.data(), Width, Height, Stride);
    }
};

uint32_t ColourAt(const TPalettedPicture& picture, int x, int y) {
    const TPaletteColour c = picture.Palette[picture.Indices[size_t(y * picture.Width + x)]];
    return uint32_t(c.Red) << 16 | uint32_t(c.Green) << 8 | c.Blue;
}

TEST(OctreeQuantizer, KeepsUpTo256ColoursExactly) {
    // 256 distinct colours spread over the cube, on an odd width (row padding in the input).
    const TrueColourPicture picture(17, 16, [](int x, int y) {
        const uint32_t i = uint32_t(y * 17 + x) % 256;
        return (i * 37 % 256) << 16 | (i * 91 % 256) << 8 | (i * 53 % 256);
    });
    const TPalettedPicture quantized = picture.Quantized();
    EXPECT_LE(quantized.Palette.size(), 256u);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 17; ++x) {
            const uint32_t i = uint32_t(y * 17 + x) % 256;
            ASSERT_EQ(ColourAt(quantized, x, y),
                      (i * 37 % 256) << 16 | (i * 91 % 256) << 8 | (i * 53 % 256))
                << x << "," << y;
        }
}

TEST(OctreeQuantizer, ReducesManyColoursTo256Nearby) {
    const TrueColourPicture picture(256, 200, [](int x, int y) {
        return uint32_t(x) << 16 | uint32_t(y) << 8 | uint32_t((x * 7 + y * 3) % 256);
    });
    const TPalettedPicture quantized = picture.Quantized();
    // A reduction merges up to eight leaves into one, so the count ends a little below 256.
    EXPECT_LE(quantized.Palette.size(), 256u);
    EXPECT_GT(quantized.Palette.size(), 240u);
    int worst = 0;
    double total = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 256; ++x) {
            const uint32_t got = ColourAt(quantized, x, y);
            const int want[] = {x, y, (x * 7 + y * 3) % 256};
            for (int channel = 0; channel < 3; ++channel) {
                const int error = std::abs(int(got >> (16 - 8 * channel) & 0xFF) - want[channel]);
                worst = std::max(worst, error);
                total += error;
            }
        }
    // A colour is the mean of its leaf's cube: a leaf at depth d is 2^(8-d) on a side, and no
    // leaf of 256 stays above depth 2 here.
    EXPECT_LT(worst, 64);
    EXPECT_LT(total / (256 * 200 * 3), 12.0);
}

struct Chunk {
    std::string Type;
    uint32_t Length;
};

std::vector<Chunk> Chunks(const std::string& png) {
    std::vector<Chunk> chunks;
    for (size_t at = 8; at + 12 <= png.size();) {
        const auto* p = reinterpret_cast<const uint8_t*>(png.data() + at);
        const uint32_t length = uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        chunks.push_back({png.substr(at + 4, 4), length});
        at += 12 + length;
    }
    return chunks;
}

TEST(PngEncoder, LaysOutHeaderPaletteImageDataAndEnd) {
    TPalettedPicture picture;
    picture.Width = 1;
    picture.Height = 1;
    picture.Palette = {{1, 2, 3}};
    picture.Indices = {0};
    const std::string png = EncodePng(picture);
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
    const std::vector<Chunk> chunks = Chunks(png);
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].Type, "IHDR");
    EXPECT_EQ(chunks[0].Length, 13u);
    EXPECT_EQ(png.substr(16, 13), std::string("\0\0\0\1\0\0\0\1\x08\x03\0\0\0", 13));
    EXPECT_EQ(chunks[1].Type, "PLTE");
    EXPECT_EQ(chunks[1].Length, 768u) << "always 256 entries";
    EXPECT_EQ(chunks[2].Type, "IDAT");
    EXPECT_EQ(chunks[3].Type, "IEND");
    EXPECT_EQ(chunks[3].Length, 0u);
    // The CRC of IEND is a constant of the format.
    EXPECT_EQ(png.substr(png.size() - 4), std::string("\xAE\x42\x60\x82"));
}

TEST(PngEncoder, SplitsImageDataAtTheBufferSize) {
    TPalettedPicture picture;
    picture.Width = 1000;
    picture.Height = 900;
    picture.Palette.resize(256);
    std::mt19937 random(3);
    picture.Indices.resize(1000 * 900);
    for (uint8_t& index : picture.Indices)
        index = uint8_t(random());
    std::vector<uint32_t> idat;
    for (const Chunk& chunk : Chunks(EncodePng(picture)))
        if (chunk.Type == "IDAT")
            idat.push_back(chunk.Length);
    ASSERT_GE(idat.size(), 3u) << "900,900 incompressible bytes";
    for (size_t i = 0; i + 1 < idat.size(); ++i)
        EXPECT_EQ(idat[i], kPngImageDataChunk);
    EXPECT_GT(idat.back(), 0u);
}

} // namespace
