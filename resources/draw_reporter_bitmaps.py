#!/usr/bin/python3
"""Draws the crash reporter's pictures as 24-bit BMP files into the folder given.

The error picture and the list icons have a magenta background, which the dialogs take as
transparent; the fold signs are opaque.
    draw_reporter_bitmaps.py <folder>
"""
import struct
import sys
from pathlib import Path

CLEAR = (255, 0, 255)


class Canvas:
    def __init__(self, width, height, background=CLEAR):
        self.width, self.height = width, height
        self.pixels = [[background] * width for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def box(self, left, top, right, bottom, colour):
        """Fills left..right, top..bottom, both ends included."""
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.dot(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        self.box(left, top, right, top, colour)
        self.box(left, bottom, right, bottom, colour)
        self.box(left, top, left, bottom, colour)
        self.box(right, top, right, bottom, colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(self.height):
            for x in range(self.width):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius ** 2:
                    self.dot(x, y, colour)

    def save(self, path):
        stride = (self.width * 3 + 3) & ~3
        rows = b"".join(
            bytes(c for r, g, b in row for c in (b, g, r)).ljust(stride, b"\0")
            for row in reversed(self.pixels))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(rows),
                           2835, 2835, 0, 0)
        path.write_bytes(header + info + rows)


def error_picture():
    c = Canvas(32, 32)
    c.disc(16, 16, 15, (150, 20, 20))
    c.disc(16, 16, 13.5, (220, 45, 40))
    c.disc(14, 12, 6, (235, 95, 85))
    c.disc(16, 16, 10, (220, 45, 40))
    for i in range(-6, 7):
        for w in (-1, 0, 1):
            c.dot(16 + i + w, 16 + i, (255, 255, 255))
            c.dot(16 + i + w, 15 - i, (255, 255, 255))
    return c


def library_icon():
    """A cog: a library of some other program."""
    c = Canvas(16, 16)
    c.disc(8, 8, 7, (90, 100, 120))
    c.disc(8, 8, 5.5, (150, 160, 180))
    for x, y in ((7, 0), (7, 14), (0, 7), (14, 7), (2, 2), (12, 2), (2, 12), (12, 12)):
        c.box(x, y, x + 1, y + 1, (90, 100, 120))
    c.disc(8, 8, 2, CLEAR)
    return c


def package_icon():
    """A parcel: a package of the runtime."""
    c = Canvas(16, 16)
    c.box(1, 4, 14, 14, (190, 140, 70))
    c.frame(1, 4, 14, 14, (110, 70, 30))
    c.box(3, 1, 12, 4, (215, 170, 100))
    c.frame(3, 1, 12, 4, (110, 70, 30))
    c.box(7, 2, 8, 14, (240, 225, 160))
    return c


def program_icon():
    """A window with its title bar: the program itself."""
    c = Canvas(16, 16)
    c.box(0, 1, 15, 14, (255, 255, 255))
    c.frame(0, 1, 15, 14, (40, 60, 110))
    c.box(1, 2, 14, 4, (50, 90, 180))
    c.box(12, 3, 13, 3, (255, 255, 255))
    c.box(3, 7, 9, 7, (160, 160, 160))
    c.box(3, 9, 12, 9, (160, 160, 160))
    c.box(3, 11, 7, 11, (160, 160, 160))
    return c


def source_icon():
    """A sheet of source lines: a frame with a line number of the program's source."""
    c = Canvas(16, 16)
    c.box(2, 0, 13, 15, (255, 255, 240))
    c.frame(2, 0, 13, 15, (80, 80, 80))
    c.box(10, 0, 13, 3, CLEAR)
    c.box(10, 0, 10, 3, (80, 80, 80))
    c.box(10, 3, 13, 3, (80, 80, 80))
    for y, left, right, colour in ((4, 4, 8, (0, 0, 160)), (6, 6, 11, (0, 110, 0)),
                                   (8, 6, 10, (0, 110, 0)), (10, 4, 9, (0, 0, 160)),
                                   (12, 6, 11, (160, 0, 0))):
        c.box(left, y, right, y, colour)
    return c


def fold_sign(unfolds):
    c = Canvas(9, 9, (255, 255, 255))
    c.frame(0, 0, 8, 8, (128, 128, 128))
    c.box(2, 4, 6, 4, (0, 0, 0))
    if unfolds:
        c.box(4, 2, 4, 6, (0, 0, 0))
    return c


PICTURES = {
    "kf_error.bmp": error_picture,
    "kf_dll.bmp": library_icon,
    "kf_bpl.bmp": package_icon,
    "kf_vcl.bmp": program_icon,
    "kf_pas.bmp": source_icon,
    "kf_plus.bmp": lambda: fold_sign(True),
    "kf_minus.bmp": lambda: fold_sign(False),
}

if __name__ == "__main__":
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name, draw in PICTURES.items():
        draw().save(folder / name)
