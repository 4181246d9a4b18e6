#include "reporter/diagnostics/debug_formats/zlib_block.h"
#include <zlib.h>

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
    uLongf size = compressBound(uLong(data.size()));
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, data.data(), uLong(data.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw EZlibError("Cannot compress a block of " + std::to_string(data.size()) + " bytes.");
    out.resize(size);
    return out;
}

std::vector<uint8_t> Inflate(const std::vector<uint8_t>& stream, size_t limit) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        throw EZlibError("Cannot start decompression.");
    std::vector<uint8_t> out;
    uint8_t chunk[16384];
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = uInt(stream.size());
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = chunk;
        z.avail_out = sizeof chunk;
        status = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), chunk, chunk + (sizeof chunk - z.avail_out));
        if (out.size() > limit)
            status = Z_MEM_ERROR;
        else if (status == Z_BUF_ERROR && z.avail_in == 0)
            status = Z_DATA_ERROR; // the stream ends before its end marker
    }
    inflateEnd(&z);
    if (status != Z_STREAM_END)
        throw EZlibError("Compressed data is damaged.");
    return out;
}
