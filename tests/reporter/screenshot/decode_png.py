"""Reads a palette PNG as the crash reporter writes it, checking its structure on the way.

decode(path) -> (width, height, pixels, facts): pixels[y][x] is an (r, g, b) tuple; facts holds
the IDAT chunk lengths and the palette's size. Raises ValueError on anything malformed."""
import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunks(data):
    if not data.startswith(SIGNATURE):
        raise ValueError("no PNG signature")
    at = len(SIGNATURE)
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        (crc,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        if zlib.crc32(kind + body) != crc:
            raise ValueError(f"bad CRC in {kind!r}")
        yield kind, body
        at += 12 + length


def decode(path):
    data = open(path, "rb").read()
    parts = list(chunks(data))
    kinds = [k for k, _ in parts]
    if kinds[0] != b"IHDR" or kinds[1] != b"PLTE" or kinds[-1] != b"IEND" or parts[-1][1]:
        raise ValueError(f"chunk order {kinds}")
    width, height, depth, colour, compression, filtering, interlace = struct.unpack(">IIBBBBB", parts[0][1])
    if (depth, colour, compression, filtering, interlace) != (8, 3, 0, 0, 0):
        raise ValueError("not 8-bit palette, deflate, no interlace")
    palette_bytes = parts[1][1]
    if len(palette_bytes) % 3 or len(palette_bytes) > 768:
        raise ValueError(f"palette of {len(palette_bytes)} bytes")
    palette = [tuple(palette_bytes[i:i + 3]) for i in range(0, len(palette_bytes), 3)]
    idat = [body for kind, body in parts if kind == b"IDAT"]
    if kinds[2:2 + len(idat)] != [b"IDAT"] * len(idat):
        raise ValueError("IDAT chunks not together")
    raw = zlib.decompress(b"".join(idat))
    if len(raw) != height * (width + 1):
        raise ValueError(f"{len(raw)} bytes of image data for {width} x {height}")
    pixels = []
    for y in range(height):
        row = raw[y * (width + 1):(y + 1) * (width + 1)]
        if row[0] != 0:
            raise ValueError(f"row {y} filter {row[0]}")
        pixels.append([palette[i] for i in row[1:]])
    return width, height, pixels, {"idat": [len(b) for b in idat], "palette": len(palette)}
