#!/usr/bin/env python3
"""Draws the program's small images and writes them as Windows bitmap files.

The images are described here as text grids, one character per pixel, so that every
picture can be read and changed in this file. The build does not run this script: the
files it writes are kept in the repository beside it. Run it again after a change:

    python3 resources/art/make_art.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Light grey becomes the system's button face when the program loads a bitmap with
# LR_LOADMAP3DCOLORS, and that colour is the mask: it stands for "transparent".
FACE = (192, 192, 192)
SHADOW = (128, 128, 128)

SORT_UP = [
    "................",
    "................",
    "................",
    "................",
    "................",
    ".......##.......",
    "......####......",
    ".....######.....",
    "....########....",
    "...##########...",
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
]


def write_bmp(path, rows):
    """A bottom-up 24-bit bitmap file; rows are lists of (r, g, b) tuples."""
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def grid(lines, palette):
    return [[palette[c] for c in line] for line in lines]


def main():
    palette = {".": FACE, "#": SHADOW}
    write_bmp(os.path.join(HERE, "sort_up.bmp"), grid(SORT_UP, palette))
    write_bmp(os.path.join(HERE, "sort_down.bmp"), grid(list(reversed(SORT_UP)), palette))


if __name__ == "__main__":
    main()
