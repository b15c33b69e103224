#!/usr/bin/env python3
"""Draws the score panel's skin: res/score_skin.bmp, 159 x 59, 8 bits per pixel.

A brass plaque with rounded corners on magenta (the transparent colour, which the panel's
window shape cuts away), the word "Score:" engraved on its left, and a recessed slot on its
right where the read-only edit box sits: (75, 16), 60 x 23 pixels, which is the edit
control's (50, 10) 40 x 14 dialog units at the dialog font's 6 x 13 base units.

Every pixel is one flat palette colour: no anti-aliasing, so the edge against magenta is
clean and the picture stays sharp at any integer zoom. The letters come from the program's
own built-in bold font (platform/gdi/fonts/system_font.cpp).

The output is committed; the build never runs this. To regenerate, from the repository's
root:   python3 tools/make_skin.py [--preview zoomed.png]
"""
import re
import struct
import sys
import zlib

WIDTH, HEIGHT = 159, 59
RADIUS = 10
SLOT = (75, 16, 60, 23)  # x, y, width, height
TEXT = "Score:"
TEXT_AT = (15, 20)
OUTPUT = "res/score_skin.bmp"
FONT = "platform/gdi/fonts/system_font.cpp"

MAGENTA = (255, 0, 255)
OUTLINE = (58, 36, 14)
HIGHLIGHT = (252, 228, 160)
SHADOW = (128, 84, 32)
INK = (72, 42, 12)
ENGRAVE_LIGHT = (246, 214, 140)
SLOT_SHADOW = (44, 26, 8)
SLOT_FLOOR = (96, 62, 24)
TOP, BOTTOM = (232, 190, 104), (176, 122, 50)  # the face's gradient


def inside_plaque(x, y):
    """Whether the pixel's centre lies in the rounded rectangle."""
    px, py = x + 0.5, y + 0.5
    cx = min(max(px, RADIUS), WIDTH - RADIUS)
    cy = min(max(py, RADIUS), HEIGHT - RADIUS)
    return (px - cx) ** 2 + (py - cy) ** 2 <= RADIUS ** 2


def load_glyphs():
    glyphs = {}
    for line in open(FONT):
        m = re.match(r"\s*\{(.*)\}, // (.*)$", line)
        if m:
            rows = [int(v, 16) for v in m.group(1).split(",")]
            name = m.group(2).strip()
            code = int(name, 16) if name.startswith("0x") else ord(name)
            glyphs[code] = rows
    return glyphs


def draw():
    palette = [MAGENTA]
    index = {MAGENTA: 0}

    def colour(rgb):
        if rgb not in index:
            index[rgb] = len(palette)
            palette.append(rgb)
        return index[rgb]

    inside = [[inside_plaque(x, y) for x in range(WIDTH)] for y in range(HEIGHT)]

    def outside(x, y):
        return not (0 <= x < WIDTH and 0 <= y < HEIGHT and inside[y][x])

    pixels = [[0] * WIDTH for _ in range(HEIGHT)]
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        face = tuple(round(a + (b - a) * t) for a, b in zip(TOP, BOTTOM))
        for x in range(WIDTH):
            if not inside[y][x]:
                continue
            if any(outside(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                pixels[y][x] = colour(OUTLINE)
                continue
            # A two-pixel bevel inside the outline: lit from the top left.
            lit = any(outside(x - d, y) or outside(x, y - d) or outside(x - d, y - d) for d in (2, 3))
            dark = any(outside(x + d, y) or outside(x, y + d) or outside(x + d, y + d) for d in (2, 3))
            if lit and not dark:
                pixels[y][x] = colour(HIGHLIGHT)
            elif dark and not lit:
                pixels[y][x] = colour(SHADOW)
            else:
                pixels[y][x] = colour(face)

    # The slot: a floor sunk below the face, shadowed along its top and left edges and
    # catching the light along its bottom and right ones.
    sx, sy, sw, sh = SLOT
    for y in range(sy - 1, sy + sh + 1):
        for x in range(sx - 1, sx + sw + 1):
            if x < sx or y < sy:
                rgb = SLOT_SHADOW
            elif x >= sx + sw or y >= sy + sh:
                rgb = HIGHLIGHT
            elif x < sx + 2 or y < sy + 2:
                rgb = SLOT_SHADOW
            else:
                rgb = SLOT_FLOOR
            pixels[y][x] = colour(rgb)

    # The word, engraved: dark letters with a light rim below and to the right of them.
    glyphs = load_glyphs()
    tx, ty = TEXT_AT
    ink = set()
    for i, ch in enumerate(TEXT):
        left = tx + 8 * i - (2 if ch == ":" else 0)  # the colon close to its word
        for row, bits in enumerate(glyphs[ord(ch)]):
            for column in range(8):
                if bits & (0x8000 >> column):
                    ink.add((left + column, ty + row))
    for x, y in ink:
        if (x + 1, y + 1) not in ink:
            pixels[y + 1][x + 1] = colour(ENGRAVE_LIGHT)
    for x, y in ink:
        pixels[y][x] = colour(INK)

    # The panel's shape is cut where a pixel reads back as magenta on a 5:6:5 display: no
    # other colour may come that close to it.
    for rgb in palette[1:]:
        r, g, b = rgb
        assert not (r >> 3 == 31 and g >> 2 == 0 and b >> 3 == 31), rgb
    assert len(palette) <= 256
    return palette, pixels


def write_bmp(path, palette, pixels):
    stride = (WIDTH + 3) & ~3
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    table += b"\0" * (4 * (256 - len(palette)))
    rows = b"".join(bytes(row) + b"\0" * (stride - WIDTH) for row in reversed(pixels))
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + table + rows)


def write_png(path, palette, pixels, zoom):
    raw = b""
    for row in pixels:
        line = b"".join(bytes(palette[i]) * zoom for i in row)
        raw += (b"\0" + line) * zoom

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", WIDTH * zoom, HEIGHT * zoom, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw)) +
                chunk(b"IEND", b""))


def main():
    palette, pixels = draw()
    write_bmp(OUTPUT, palette, pixels)
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        write_png(sys.argv[2], palette, pixels, 4)


if __name__ == "__main__":
    main()
