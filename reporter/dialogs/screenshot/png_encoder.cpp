#include "reporter/dialogs/screenshot/png_encoder.h"
#include "reporter/base/crc32.h"
#include <zlib.h>

namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
constexpr size_t kPaletteEntries = 256;
constexpr uint8_t kBitDepth = 8;
constexpr uint8_t kColourTypePalette = 3;
constexpr uint8_t kNoFilter = 0;

void AppendBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char(value >> shift & 0xFF);
}

// Length, type, data and the CRC over type and data.
void AppendChunk(std::string& out, const char* type, std::string_view data) {
    AppendBigEndian(out, uint32_t(data.size()));
    const size_t typeAt = out.size();
    out.append(type, 4);
    out.append(data);
    AppendBigEndian(out, Crc32(std::string_view(out).substr(typeAt)));
}

std::string Header(const TPalettedPicture& picture) {
    std::string header;
    AppendBigEndian(header, uint32_t(picture.Width));
    AppendBigEndian(header, uint32_t(picture.Height));
    header += char(kBitDepth);
    header += char(kColourTypePalette);
    header += std::string(3, '\0'); // deflate, adaptive filtering, no interlace
    return header;
}

// Always 256 entries; those the picture does not use are black.
std::string PaletteData(const TPalettedPicture& picture) {
    std::string data(kPaletteEntries * 3, '\0');
    for (size_t i = 0; i < picture.Palette.size() && i < kPaletteEntries; ++i) {
        data[i * 3] = char(picture.Palette[i].Red);
        data[i * 3 + 1] = char(picture.Palette[i].Green);
        data[i * 3 + 2] = char(picture.Palette[i].Blue);
    }
    return data;
}

// Deflates the rows, each after its filter byte, into IDAT chunks of the output buffer's size
// as it fills, and the rest into a last one.
class TImageDataWriter {
  public:
    explicit TImageDataWriter(std::string& out) : out_(out), buffer_(kPngImageDataChunk, '\0') {
        ok_ = deflateInit(&stream_, Z_BEST_COMPRESSION) == Z_OK;
        Rewind();
    }
    ~TImageDataWriter() { deflateEnd(&stream_); }
    TImageDataWriter(const TImageDataWriter&) = delete;
    TImageDataWriter& operator=(const TImageDataWriter&) = delete;

    void Write(const uint8_t* bytes, size_t size) {
        stream_.next_in = const_cast<Bytef*>(bytes);
        stream_.avail_in = uInt(size);
        while (ok_ && stream_.avail_in > 0)
            Deflate(Z_NO_FLUSH);
    }

    bool Finish() {
        int result = Z_OK;
        while (ok_ && result != Z_STREAM_END)
            result = Deflate(Z_FINISH);
        if (ok_ && stream_.avail_out < buffer_.size())
            AppendChunk(out_, "IDAT", std::string_view(buffer_).substr(0, Filled()));
        return ok_;
    }

  private:
    int Deflate(int flush) {
        const int result = deflate(&stream_, flush);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            ok_ = false;
        if (ok_ && stream_.avail_out == 0) {
            AppendChunk(out_, "IDAT", buffer_);
            Rewind();
        }
        return result;
    }

    size_t Filled() const { return buffer_.size() - stream_.avail_out; }

    void Rewind() {
        stream_.next_out = reinterpret_cast<Bytef*>(buffer_.data());
        stream_.avail_out = uInt(buffer_.size());
    }

    std::string& out_;
    std::string buffer_;
    z_stream stream_{};
    bool ok_ = false;
};

} // namespace

std::string EncodePng(const TPalettedPicture& picture) {
    std::string png(kSignature, sizeof kSignature - 1);
    AppendChunk(png, "IHDR", Header(picture));
    AppendChunk(png, "PLTE", PaletteData(picture));
    TImageDataWriter imageData(png);
    const uint8_t filter = kNoFilter;
    for (int y = 0; y < picture.Height; ++y) {
        imageData.Write(&filter, 1);
        imageData.Write(picture.Indices.data() + size_t(y) * size_t(picture.Width),
                        size_t(picture.Width));
    }
    if (!imageData.Finish())
        return {};
    AppendChunk(png, "IEND", {});
    return png;
}
