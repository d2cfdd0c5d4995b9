#!/usr/bin/env python3
"""Writes app/Tamik.ico, the program's icon: two upright 3D bars, one purple and one blue, on a
transparent background.

The art is drawn here, pixel by pixel, at 16 x 16. The file holds it twice: at 16 x 16 for the
notification area and the small window icon, and doubled to 32 x 32 for the large icon (taskbar
button, task switcher). Both are needed: the system shares one handle per image of the resource,
so with the 16-pixel image alone the notification area, which asks for 16 pixels after the window
class has loaded the large icon, would get the large icon's handle. Each image is a 32-bit
BITMAPINFOHEADER image with straight (not premultiplied) alpha, followed by its 1-bit AND mask, as
every Windows version since XP reads it; older systems ignore the alpha and use the mask.

Usage: tools/make-icon.py [OUTPUT]   (default: app/Tamik.ico of this repository)
Standard library only; the output is the same byte for byte on every run.
"""

import os
import struct
import sys

# One character per pixel, top row first. '.' is transparent.
ART = [
    "................",
    "...kkkkk........",
    "..kaaaak........",
    ".kaaaadk........",
    "kpPPPddk........",
    "kpPPPddk...KKKKK",
    "kpPPPddk..KbbbbK",
    "kpPPPddk.KbbbbeK",
    "kpPPPddkKhBBBeeK",
    "kpPPPddkKhBBBeeK",
    "kpPPPddkKhBBBeeK",
    "kpPPPddkKhBBBeeK",
    "kpPPPddkKhBBBeeK",
    "kpPPPddkKhBBBeeK",
    "kpPPPdk.KhBBBeK.",
    "kkkkkk..KKKKKK..",
]

# Colours as (red, green, blue).
PALETTE = {
    "k": (0x2A, 0x0E, 0x4C),  # purple bar, outline
    "a": (0xD9, 0xB8, 0xF7),  # purple bar, top face (lit)
    "p": (0xB0, 0x72, 0xEA),  # purple bar, front face, left edge (lit)
    "P": (0x8B, 0x3F, 0xD6),  # purple bar, front face
    "d": (0x52, 0x1E, 0x8A),  # purple bar, side face (shade)
    "b": (0xB4, 0xDA, 0xFF),  # blue bar, top face (lit)
    "h": (0x6C, 0xB0, 0xFF),  # blue bar, front face, left edge (lit)
    "B": (0x24, 0x7C, 0xE8),  # blue bar, front face
    "e": (0x12, 0x45, 0x96),  # blue bar, side face (shade)
    "K": (0x0A, 0x22, 0x50),  # blue bar, outline
}

SIZE = 16


def check_art():
    if len(ART) != SIZE or any(len(row) != SIZE for row in ART):
        raise SystemExit("make-icon: the art must be %d rows of %d pixels" % (SIZE, SIZE))
    for row in ART:
        for pixel in row:
            if pixel != "." and pixel not in PALETTE:
                raise SystemExit("make-icon: no colour for %r" % pixel)


def pixels(scale):
    """The art at `scale` times its size: rows top first of (r, g, b, a)."""
    rows = []
    for row in ART:
        line = []
        for pixel in row:
            colour = (0, 0, 0, 0) if pixel == "." else PALETTE[pixel] + (0xFF,)
            line.extend([colour] * scale)
        rows.extend([line] * scale)
    return rows


def icon_image(rows):
    """One icon image: BITMAPINFOHEADER, the 32-bit colour rows, then the AND mask."""
    size = len(rows)
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4  # rows of the mask are padded to 32 bits
    # Both bitmaps are stored bottom row first.
    for line in reversed(rows):
        for red, green, blue, alpha in line:
            colour += bytes((blue, green, red, alpha))
        bits = bytearray(mask_stride)
        for x, (_, _, _, alpha) in enumerate(line):
            if alpha == 0:  # a set bit lets the background through
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # biSize
        size,  # biWidth
        size * 2,  # biHeight: the colour image and the mask, one above the other
        1,  # biPlanes
        32,  # biBitCount
        0,  # biCompression: BI_RGB
        len(colour) + len(mask),  # biSizeImage
        0,
        0,
        0,
        0,
    )
    return header + bytes(colour) + bytes(mask)


def icon_file(images):
    """The .ico file: ICONDIR, one ICONDIRENTRY per image, then the images."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = bytearray()
    for size, data in images:
        entries += struct.pack(
            "<BBBBHHII",
            size,  # bWidth
            size,  # bHeight
            0,  # bColorCount: more than 256 colours
            0,  # bReserved
            1,  # wPlanes
            32,  # wBitCount
            len(data),  # dwBytesInRes
            offset,  # dwImageOffset
        )
        offset += len(data)
    return directory + bytes(entries) + b"".join(data for _, data in images)


def main():
    check_art()
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "app", "Tamik.ico")
    images = [(SIZE * scale, icon_image(pixels(scale))) for scale in (1, 2)]
    with open(output, "wb") as file:
        file.write(icon_file(images))


if __name__ == "__main__":
    main()
