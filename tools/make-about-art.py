#!/usr/bin/env python3
"""Writes options/art/about.gif, the banner of the About page: the program's two 3D bars, a purple one
and a blue one, beside the word "Tamik" in blocky letters, with a soft shadow, on a transparent
background.

The picture is drawn here pixel by pixel at 190 x 83 and written as a GIF89a: one palette of at
most 256 colours whose entry 0 is the transparent one (marked by a Graphic Control Extension), one
image, LZW-compressed by the encoder below. The letters come from the small pixel font below, each
font pixel drawn as a block of CELL_W x CELL_H screen pixels.

Usage: tools/make-about-art.py [OUTPUT]   (default: options/art/about.gif of this repository)
Standard library only; the output is the same byte for byte on every run.
"""

import os
import struct
import sys

WIDTH = 190
HEIGHT = 83

# The colour entry 0 stands for, when a viewer ignores transparency: the dialog's face colour.
TRANSPARENT = (0xF0, 0xF0, 0xF0)

# ---------------------------------------------------------------------------------------------
# Colours as (red, green, blue), matching the program's icon.

PURPLE = {
    "outline": (0x2A, 0x0E, 0x4C),
    "top": (0xD9, 0xB8, 0xF7),
    "lit": (0xB0, 0x72, 0xEA),
    "front": (0x8B, 0x3F, 0xD6),
    "side": (0x52, 0x1E, 0x8A),
}
BLUE = {
    "outline": (0x0A, 0x22, 0x50),
    "top": (0xB4, 0xDA, 0xFF),
    "lit": (0x6C, 0xB0, 0xFF),
    "front": (0x24, 0x7C, 0xE8),
    "side": (0x12, 0x45, 0x96),
}
WHITE = (0xFF, 0xFF, 0xFF)
LETTER_OUTLINE = (0x1E, 0x12, 0x3E)
LETTER_HIGHLIGHT = (0xE6, 0xDC, 0xFF)
# The letters run from the purple of the first bar to the blue of the second, top to bottom.
LETTER_TOP = (0x9A, 0x52, 0xE0)
LETTER_BOTTOM = (0x2C, 0x6E, 0xE0)
# The shadow: a core and a lighter rim, which read as a soft shadow on light and mid greys.
SHADOW_CORE = (0x8C, 0x88, 0x98)
SHADOW_RIM = (0xB4, 0xB0, 0xBE)

# ---------------------------------------------------------------------------------------------
# The pixel font: cap height 20 font pixels, the lower case letters 14 high on the same
# baseline; vertical strokes 3 font pixels thick, horizontal ones 2.

FONT = {
    "T": [
        "###########",
        "###########",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
    ],
    "a": [
        ".########.",
        "##########",
        ".......###",
        ".......###",
        ".......###",
        ".......###",
        ".#########",
        "##########",
        "###....###",
        "###....###",
        "###....###",
        "###....###",
        "##########",
        ".#########",
    ],
    "m": [
        "#############..",
        "##############.",
        "###...###...###",
        "###...###...###",
        "###...###...###",
        "###...###...###",
        "###...###...###",
        "###...###...###",
        "###...###...###",
        "###...###...###",
        "###...###...###",
        "###...###...###",
        "###...###...###",
        "###...###...###",
    ],
    "i": [
        "###",
        "###",
        "###",
        "...",
        "...",
        "...",
        "###",
        "###",
        "###",
        "###",
        "###",
        "###",
        "###",
        "###",
        "###",
        "###",
        "###",
        "###",
        "###",
        "###",
    ],
    "k": [
        "###........",
        "###........",
        "###........",
        "###........",
        "###........",
        "###........",
        "###.....###",
        "###....###.",
        "###...###..",
        "###..###...",
        "###.###....",
        "######.....",
        "#####......",
        "######.....",
        "###.###....",
        "###..###...",
        "###...###..",
        "###....###.",
        "###.....###",
        "###.....###",
    ],
}
CELL_W = 2
CELL_H = 2
CAP_ROWS = 20
LETTER_GAP = 2  # font columns between letters
# Pairs set closer than LETTER_GAP: the "a" tucks under the arm of the "T".
KERNING = {("T", "a"): -2}

# ---------------------------------------------------------------------------------------------
# Drawing.


def blank(value=None):
    return [[value] * WIDTH for _ in range(HEIGHT)]


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def bar(shape, x, top, bottom, width, depth, colours):
    """A bar in oblique view: its front face from (x, top) to (x + width - 1, bottom), its top and
    right faces receding `depth` pixels up and to the right. Writes colours into `shape`, a map of
    the picture, and leaves the one-pixel outline to outline()."""
    for y in range(top - depth, bottom + 1):
        for px in range(x, x + width + depth):
            colour = None
            if top <= y and px < x + width:
                # The front face, lit from the left: a lit strip, then the face darkening a little
                # towards the right edge.
                offset = px - x
                if offset < 3:
                    colour = colours["lit"]
                else:
                    t = (offset - 3) / max(1, width - 4)
                    colour = mix(colours["front"], colours["side"], 0.25 * round(t * 3) / 3)
            elif y < top and x + (top - y) <= px < x + width + (top - y):
                # The top face: the front's top edge pushed back one pixel per row; its front
                # edge catches the light.
                colour = colours["top"] if y < top - 1 else mix(colours["top"], WHITE, 0.5)
            elif px >= x + width:
                # The right face: the front's right edge pushed back one pixel per column.
                rise = px - (x + width) + 1
                if top - rise <= y <= bottom - rise:
                    colour = colours["side"]
            if colour is not None:
                shape[y][px] = colour


def outline(shape, colour, source=None):
    """Rings every drawn region of `source` (default `shape`) with `colour` in `shape`, on the
    pixels around it that are still empty: the eight neighbours of each drawn pixel."""
    source = source if source is not None else [row[:] for row in shape]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if source[y][x] is not None:
                continue
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    ny, nx = y + dy, x + dx
                    if 0 <= ny < HEIGHT and 0 <= nx < WIDTH and source[ny][nx] is not None:
                        shape[y][x] = colour
                        break
                else:
                    continue
                break


def text_mask(text, left, top):
    """The screen pixels the letters cover, as a map of booleans."""
    mask = blank(False)
    column = 0
    for position, letter in enumerate(text):
        if position > 0:
            column += LETTER_GAP + KERNING.get((text[position - 1], letter), 0)
        glyph = FONT[letter]
        drop = CAP_ROWS - len(glyph)  # shorter letters sit on the same baseline
        for row, line in enumerate(glyph):
            for col, cell in enumerate(line):
                if cell != "#":
                    continue
                for dy in range(CELL_H):
                    for dx in range(CELL_W):
                        mask[top + (drop + row) * CELL_H + dy][left + (column + col) * CELL_W + dx] = True
        column += len(glyph[0])
    return mask


def text_width(text):
    columns = sum(len(FONT[letter][0]) for letter in text)
    for before, after in zip(text, text[1:]):
        columns += LETTER_GAP + KERNING.get((before, after), 0)
    return columns * CELL_W


def letters(shape, mask, top, bottom):
    """Fills the letters: a top-to-bottom blend in a few flat steps, with a one-pixel highlight on
    edges that face up or left."""
    steps = 8
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if not mask[y][x]:
                continue
            t = (y - top) / max(1, bottom - top)
            colour = mix(LETTER_TOP, LETTER_BOTTOM, min(steps - 1, int(t * steps)) / (steps - 1))
            if not mask[y - 1][x] or not mask[y][x - 1]:
                colour = mix(colour, LETTER_HIGHLIGHT, 0.45)
            shape[y][x] = colour


def shadow(shape, offset):
    """A shadow of everything drawn so far, cast `offset` pixels down and to the right, under it."""
    cast = blank()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            sy, sx = y - offset, x - offset
            if 0 <= sy and 0 <= sx and shape[sy][sx] is not None:
                cast[y][x] = SHADOW_CORE
    outline(cast, SHADOW_RIM)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if shape[y][x] is None and cast[y][x] is not None:
                shape[y][x] = cast[y][x]


def draw():
    """The picture: rows top first of (r, g, b), or None where transparent."""
    shape = blank()

    # The bars, resting on one baseline; the blue one in front of and lower than the purple one.
    base = 72
    depth = 7
    purple = blank()
    bar(purple, 6, 16, base, 17, depth, PURPLE)
    outline(purple, PURPLE["outline"])
    blue = blank()
    bar(blue, 30, 36, base, 17, depth, BLUE)
    outline(blue, BLUE["outline"])
    for layer in (purple, blue):
        for y in range(HEIGHT):
            for x in range(WIDTH):
                if layer[y][x] is not None:
                    shape[y][x] = layer[y][x]

    # The word, its baseline on the bars' baseline, centred in the room right of the bars and
    # their shadow.
    word = "Tamik"
    text_top = base - CAP_ROWS * CELL_H + 1
    room_left = 30 + 17 + depth + 4
    text_left = room_left + (WIDTH - room_left - text_width(word)) // 2
    mask = text_mask(word, text_left, text_top)
    glyphs = blank()
    letters(glyphs, mask, text_top, base)
    outline(glyphs, LETTER_OUTLINE)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if glyphs[y][x] is not None:
                shape[y][x] = glyphs[y][x]

    shadow(shape, 3)
    return shape


# ---------------------------------------------------------------------------------------------
# The GIF file.


def palette_of(picture):
    """Entry 0 is the transparent one; the others in the order the picture first shows them."""
    colours = [TRANSPARENT]
    index = {}
    for row in picture:
        for colour in row:
            if colour is not None and colour not in index:
                index[colour] = len(colours)
                colours.append(colour)
    if len(colours) > 256:
        raise SystemExit("make-about-art: %d colours, at most 256 fit" % len(colours))
    return colours, index


def lzw(indices, code_size):
    """The LZW code stream of `indices`: a clear code first, a clear code whenever the table
    reaches 4096 entries, the end code last; codes packed least significant bit first."""
    clear = 1 << code_size
    end = clear + 1
    out = bytearray()
    pending = 0
    count = 0
    bits = code_size + 1

    def emit(code):
        nonlocal pending, count
        pending |= code << count
        count += bits
        while count >= 8:
            out.append(pending & 0xFF)
            pending >>= 8
            count -= 8

    table = {}
    next_code = end + 1
    emit(clear)
    current = None
    for index in indices:
        if current is None:
            current = index
            continue
        key = (current, index)
        if key in table:
            current = table[key]
            continue
        emit(current)
        table[key] = next_code
        # The decoder makes this entry one code later, and the next code may already be it.
        if next_code == (1 << bits) and bits < 12:
            bits += 1
        next_code += 1
        if next_code == 4096:
            emit(clear)
            table = {}
            next_code = end + 1
            bits = code_size + 1
        current = index
    if current is not None:
        emit(current)
    emit(end)
    if count > 0:
        out.append(pending & 0xFF)
    return bytes(out)


def gif(picture):
    colours, index = palette_of(picture)
    size_bits = 0
    while (2 << size_bits) < len(colours):
        size_bits += 1
    table_size = 2 << size_bits
    code_size = max(2, size_bits + 1)
    indices = [0 if colour is None else index[colour] for row in picture for colour in row]

    out = bytearray(b"GIF89a")
    # Logical screen: global colour table, colour resolution 8 bits, background index 0.
    out += struct.pack("<HHBBB", WIDTH, HEIGHT, 0xF0 | size_bits, 0, 0)
    for i in range(table_size):
        out += bytes(colours[i] if i < len(colours) else (0, 0, 0))
    # Graphic Control Extension: no disposal, no delay, index 0 transparent.
    out += bytes((0x21, 0xF9, 4, 0x01, 0, 0, 0, 0))
    # The image: the whole screen, no local colour table, not interlaced.
    out += bytes((0x2C,)) + struct.pack("<HHHHB", 0, 0, WIDTH, HEIGHT, 0)
    out.append(code_size)
    data = lzw(indices, code_size)
    for at in range(0, len(data), 255):
        block = data[at : at + 255]
        out.append(len(block))
        out += block
    out.append(0)
    out.append(0x3B)
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "app", "art", "about.gif")
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output, "wb") as file:
        file.write(gif(draw()))


if __name__ == "__main__":
    main()
