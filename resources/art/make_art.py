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


# The toolbar strip: eight 16 x 16 images, in the order the toolbar names them.
TOOLBAR = {
    "find": [
        "................",
        "....kkkk........",
        "...kwwwwk.......",
        "..kwwbbwwk......",
        "..kwbwwwwk......",
        "..kwbwwwwk......",
        "..kwwwwwwk......",
        "...kwwwwk.......",
        "....kkkkyk......",
        "........kyk.....",
        ".........kyk....",
        "..........kyk...",
        "...........kyk..",
        "............kk..",
        "................",
        "................",
    ],
    "save": [
        "................",
        ".kkkkkkkkkkkkk..",
        ".kbkwwwwwwwkbk..",
        ".kbkwwwwwwwkbk..",
        ".kbkwwwwwwwkbk..",
        ".kbkwwwwwwwkbk..",
        ".kbbkkkkkkkbbk..",
        ".kbbbbbbbbbbbk..",
        ".kbbkkkkkkkbbk..",
        ".kbbkddkwwkbbk..",
        ".kbbkddkwwkbbk..",
        ".kbbkddkwwkbbk..",
        "..kkkkkkkkkkkk..",
        "................",
        "................",
        "................",
    ],
    "copy": [
        "kkkkkkk.........",
        "kwwwwwkk........",
        "kwdddwkwk.......",
        "kwwwwwkkkk......",
        "kwddkkkkkkk.....",
        "kwwwkwwwwwkk....",
        "kwddkwdddwkwk...",
        "kwwwkwwwwwkkkk..",
        "kkkkkwdddddwwk..",
        "....kwwwwwwwwk..",
        "....kwdddddddk..",
        "....kwwwwwwwwk..",
        "....kwdddddddk..",
        "....kwwwwwwwwk..",
        "....kkkkkkkkkk..",
        "................",
    ],
    "properties": [
        "................",
        "..kkkkkkkkkkk...",
        "..kwwwwwwwwwk...",
        "..kwbbwdddwwk...",
        "..kwwwwwwwwwk...",
        "..kwbbwdddwwk...",
        "..kwwwwwwwwwk...",
        "..kwbbwdddwwk...",
        "..kwwwwwwwwwk...",
        "..kwbbwdddwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kkkkkkkkkkk...",
        "................",
        "................",
        "................",
    ],
    "exit": [
        "................",
        "..kkkkkkkk......",
        "..kyyyyyyk......",
        "..kyykkkkk......",
        "..kyyk..........",
        "..kyyk....r.....",
        "..kyyk....rr....",
        "..kyykrrrrrrr...",
        "..kyykrrrrrrrr..",
        "..kyykrrrrrrr...",
        "..kyyk....rr....",
        "..kyyk....r.....",
        "..kyykkkkk......",
        "..kyyyyyyk......",
        "..kkkkkkkk......",
        "................",
    ],
    "refresh": [
        "................",
        "......gggg......",
        "....gg....gg.g..",
        "...g........gg..",
        "..g........ggg..",
        "..g.............",
        ".g..............",
        ".g..............",
        ".g............g.",
        ".g............g.",
        "..............g.",
        "..ggg........g..",
        "..gg........g...",
        "..g.gg....gg....",
        "......gggg......",
        "................",
    ],
    "enable": [
        "................",
        "................",
        ".............gg.",
        "............ggg.",
        "...........ggg..",
        "..........ggg...",
        ".gg......ggg....",
        ".ggg....ggg.....",
        "..ggg..ggg......",
        "...ggggggg......",
        "....ggggg.......",
        ".....ggg........",
        "......g.........",
        "................",
        "................",
        "................",
    ],
    "disable": [
        "................",
        ".....rrrrrr.....",
        "...rrrrrrrrrr...",
        "..rrrr....rrrr..",
        "..rrrrr.....rr..",
        ".rr..rrr.....rr.",
        ".rr...rrr....rr.",
        ".rr....rrr...rr.",
        ".rr.....rrr..rr.",
        ".rr......rrr.rr.",
        "..rr......rrrr..",
        "..rrrr....rrrr..",
        "...rrrrrrrrrr...",
        ".....rrrrrr.....",
        "................",
        "................",
    ],
}
TOOLBAR_ORDER = ["find", "save", "copy", "properties", "exit", "refresh", "enable", "disable"]

# The window icon: a context menu with one item picked out and the pointer on it.
MAIN_ICON = [
    "kkkkkkkkkkk.....",
    "kwwwwwwwwwk.....",
    "kwdddddwwwk.....",
    "kwwwwwwwwwk.....",
    "kbbbbbbbbbk.....",
    "kbwwwwwwbbk.....",
    "kbbbbbbbbbk.....",
    "kwwwwwwwwwk.....",
    "kwddddwwwwk.....",
    "kwwwwwwkwwk.....",
    "kkkkkkkkwkkk....",
    ".......kwwwk....",
    ".......kwwwwk...",
    ".......kwwkkkk..",
    ".......kkk......",
    "................",
]

# The default row icon: a program window with a command prompt.
ROW_ICON = [
    "................",
    "kkkkkkkkkkkkkkk.",
    "kbbbbbbbbbbbwbk.",
    "kkkkkkkkkkkkkkk.",
    "knnnnnnnnnnnnnk.",
    "knwnnnnnnnnnnnk.",
    "knnwnnnnnnnnnnk.",
    "knwnwwwwnnnnnnk.",
    "knnnnnnnnnnnnnk.",
    "knnnnnnnnnnnnnk.",
    "knnnnnnnnnnnnnk.",
    "knnnnnnnnnnnnnk.",
    "kkkkkkkkkkkkkkk.",
    "................",
    "................",
    "................",
]

# The hand cursor of the about box's links; the hot spot is the fingertip.
HAND = [
    ".....kk.........",
    "....kwwk........",
    "....kwwk........",
    "....kwwk........",
    "....kwwkkk......",
    "....kwwkwwkkk...",
    "..kkkwwkwwkwwkk.",
    ".kwwkwwkwwkwwkwk",
    ".kwwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwk",
    "...kwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "....kwwwwwwwwk..",
    "....kwwwwwwwwk..",
    ".....kkkkkkkk...",
    "................",
]
HAND_HOTSPOT = (5, 0)

COLORS = {
    ".": None,
    "k": (0, 0, 0),
    "w": (255, 255, 255),
    "g": (0, 160, 0),
    "y": (224, 176, 64),
    "b": (32, 96, 208),
    "r": (208, 32, 32),
    "d": (128, 128, 128),
    "n": (0, 0, 128),
}


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


def scaled(lines, factor):
    return ["".join(c * factor for c in line) for line in lines for _ in range(factor)]


def icon_image(lines):
    """One 32-bit image of an icon or cursor file: bitmap header, BGRA pixels, AND mask."""
    size = len(lines)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for line in reversed(lines):
        bits = 0
        row_mask = bytearray(mask_stride)
        for x, c in enumerate(line):
            color = COLORS[c]
            if color is None:
                pixels += bytes((0, 0, 0, 0))
                row_mask[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = color
                pixels += bytes((b, g, r, 255))
        mask += row_mask
    return header + bytes(pixels) + bytes(mask)


def write_icon(path, images, kind=1, hotspot=(0, 0)):
    """An icon (kind 1) or cursor (kind 2) file holding the given square images."""
    data = [icon_image(lines) for lines in images]
    directory = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for lines, blob in zip(images, data):
        size = len(lines)
        planes, bits = (1, 32) if kind == 1 else hotspot
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, planes, bits, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as out:
        out.write(directory + entries + b"".join(data))


def main():
    palette = {".": FACE, "#": SHADOW}
    write_bmp(os.path.join(HERE, "sort_up.bmp"), grid(SORT_UP, palette))
    write_bmp(os.path.join(HERE, "sort_down.bmp"), grid(list(reversed(SORT_UP)), palette))

    toolbar_palette = dict(COLORS)
    toolbar_palette["."] = FACE
    strip = [[] for _ in range(16)]
    for name in TOOLBAR_ORDER:
        for y, line in enumerate(TOOLBAR[name]):
            strip[y].extend(toolbar_palette[c] for c in line)
    write_bmp(os.path.join(HERE, "toolbar.bmp"), strip)

    write_icon(os.path.join(HERE, "main.ico"), [MAIN_ICON, scaled(MAIN_ICON, 2)])
    write_icon(os.path.join(HERE, "row.ico"), [ROW_ICON, scaled(ROW_ICON, 2)])
    write_icon(os.path.join(HERE, "hand.cur"), [scaled(HAND, 2)], kind=2,
               hotspot=(HAND_HOTSPOT[0] * 2, HAND_HOTSPOT[1] * 2))


if __name__ == "__main__":
    main()
