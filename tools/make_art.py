#!/usr/bin/env python3
"""Draws the game's five pictures into Bitmaps/, as 24-bit BMP files.

  back1.bmp   640 x 480  a night sky over layered hills, the floor where the Pot walks
  Quib1.bmp   128 x 160  the Dropper: a little wizard on a cloud; items leave its bottom middle
  pot1.bmp     64 x 64   the Pot: its top 8 rows are the mouth
  ZOBU1.bmp    32 x 32   a blue gem
  ZOBU2.bmp    32 x 32   a red apple

and the program's icon for desktops, res/zobu4.png: the Pot, 64 x 64, its magenta clear
(and res/zobu4-128.png, res/zobu4-256.png, the same pixels doubled and doubled again).

Magenta (255, 0, 255) is transparent in the four sprites and absent from the background.
Every pixel is a flat colour with hard edges, so the art stays sharp at any integer zoom
and keys cleanly. Everything is drawn from code here; nothing is taken from elsewhere.

The output is committed; the build never runs this. To regenerate, from the repository's
root:   python3 tools/make_art.py [--preview DIR]   (DIR gets 3x PNG previews)
"""
import math
import os
import struct
import sys
import zlib

MAGENTA = (255, 0, 255)


class Canvas:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.rows = [[fill] * width for _ in range(height)]

    def put(self, x, y, rgb):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = rgb

    def get(self, x, y):
        return self.rows[y][x]

    def rect(self, x0, y0, x1, y1, rgb):
        for y in range(max(y0, 0), min(y1, self.height)):
            for x in range(max(x0, 0), min(x1, self.width)):
                self.rows[y][x] = rgb

    def ellipse(self, cx, cy, rx, ry, rgb):
        """Every pixel whose centre lies in the ellipse."""
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
                dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self.put(x, y, rgb)

    def polygon(self, points, rgb):
        """Every pixel whose centre lies inside (even-odd rule)."""
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            py = y + 0.5
            xs = []
            for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
                if (y0 <= py < y1) or (y1 <= py < y0):
                    xs.append(x0 + (py - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(int(math.ceil(a - 0.5)), int(math.ceil(b - 0.5))):
                    self.put(x, y, rgb)

    def outline(self, inside, rgb):
        """Paints `rgb` on every pixel of the picture that is not `inside`-coloured... used as:
        pixels that are not magenta but touch magenta get the outline colour."""
        edge = []
        for y in range(self.height):
            for x in range(self.width):
                if self.rows[y][x] == MAGENTA:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    nx, ny = x + dx, y + dy
                    if not (0 <= nx < self.width and 0 <= ny < self.height) or \
                            self.rows[ny][nx] == MAGENTA:
                        edge.append((x, y))
                        break
        for x, y in edge:
            self.rows[y][x] = rgb


def mix(a, b, t):
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


def rng(seed):
    """A small deterministic generator, so the stars fall the same way every time."""
    state = seed
    while True:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        yield state


def background():
    c = Canvas(640, 480, (0, 0, 0))
    top, horizon = (12, 16, 48), (70, 52, 110)
    for y in range(480):
        c.rect(0, y, 640, y + 1, mix(top, horizon, min(y / 330, 1.0)))
    r = rng(4)
    for _ in range(140):
        x, y = next(r) % 640, next(r) % 300
        bright = next(r) % 3
        colour = [(150, 150, 190), (200, 200, 230), (255, 255, 240)][bright]
        c.put(x, y, colour)
        if bright == 2 and next(r) % 3 == 0:  # a few twinkle as small crosses
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                c.put(x + dx, y + dy, (150, 150, 190))
    # A crescent: the moon's disc less a disc beside it, so the sky shows through unchanged.
    for y in range(48, 112):
        for x in range(498, 562):
            in_moon = (x + 0.5 - 530) ** 2 + (y + 0.5 - 80) ** 2 <= 30 ** 2
            in_shadow = (x + 0.5 - 542) ** 2 + (y + 0.5 - 72) ** 2 <= 26 ** 2
            if in_moon and not in_shadow:
                c.put(x, y, (245, 236, 200))
    # Three ranges of hills, darker and nearer towards the floor, for depth.
    ranges = [((58, 44, 96), 300, 40, 0.011, 1.3), ((40, 32, 72), 340, 30, 0.019, 0.4),
              ((26, 22, 50), 380, 22, 0.031, 2.2)]
    for colour, base, height, freq, phase in ranges:
        for x in range(640):
            h = base - height * (0.6 * math.sin(x * freq + phase) + 0.4 * math.sin(x * freq * 2.3 + phase * 2))
            c.rect(x, int(h), x + 1, 480, colour)
    # The floor: a strip of turf with a lit edge, under the Pot (y 416 to 480).
    c.rect(0, 412, 640, 480, (34, 70, 40))
    c.rect(0, 412, 640, 414, (82, 140, 70))
    for x in range(0, 640, 7):
        c.put(x + (x // 7) % 3, 411, (82, 140, 70))
        c.put(x + 2, 420 + (x * 13) % 50, (26, 56, 32))
    return c


def dropper():
    c = Canvas(128, 160, MAGENTA)
    robe, robe_dark = (72, 90, 200), (46, 58, 150)
    skin, hat, star = (246, 206, 170), (60, 44, 140), (255, 220, 80)
    cloud, cloud_dark = (236, 240, 252), (176, 186, 220)
    # The cloud it rides, filling the bottom of the art; the middle of its bottom edge is
    # where the items leave (x 64, row 159).
    for cx, cy, rx, ry in ((36, 138, 30, 18), (64, 132, 34, 24), (92, 138, 30, 18),
                           (64, 146, 44, 14)):
        c.ellipse(cx, cy, rx, ry, cloud)
    for cx, cy, rx, ry in ((40, 150, 22, 8), (88, 150, 22, 8), (64, 154, 28, 6)):
        c.ellipse(cx, cy, rx, ry, cloud_dark)
    c.rect(58, 152, 70, 160, (90, 96, 130))  # the chute in its belly
    c.rect(60, 154, 68, 160, (40, 40, 60))
    # Robe, arms and hands.
    c.polygon([(44, 118), (84, 118), (74, 66), (54, 66)], robe)
    c.polygon([(64, 70), (74, 66), (84, 118), (70, 118)], robe_dark)
    c.polygon([(54, 72), (34, 96), (40, 100), (58, 82)], robe)
    c.polygon([(74, 72), (94, 96), (88, 100), (70, 82)], robe_dark)
    c.ellipse(36, 99, 5, 5, skin)
    c.ellipse(92, 99, 5, 5, skin)
    # Head, face and beard.
    c.ellipse(64, 56, 14, 14, skin)
    c.rect(57, 52, 60, 56, (30, 30, 40))
    c.rect(68, 52, 71, 56, (30, 30, 40))
    c.polygon([(52, 60), (76, 60), (64, 84)], (240, 240, 244))
    # The pointed hat, with a star.
    c.polygon([(44, 46), (84, 46), (70, 6), (64, 2)], hat)
    c.rect(42, 44, 86, 49, (90, 70, 180))
    c.polygon([(64, 18), (67, 25), (74, 25), (68, 29), (71, 36), (64, 31), (57, 36), (60, 29),
               (54, 25), (61, 25)], star)
    c.outline(None, (24, 20, 40))
    return c


def pot():
    c = Canvas(64, 64, MAGENTA)
    clay, clay_dark, clay_light = (196, 104, 56), (150, 72, 40), (232, 150, 96)
    # The body, hung from the mouth: a neck, then the round belly.
    c.rect(10, 6, 54, 14, clay)
    c.ellipse(32, 37, 30, 27, clay)
    c.ellipse(41, 44, 18, 17, clay_dark)
    c.ellipse(31, 36, 23, 22, clay)
    c.ellipse(20, 28, 5, 8, clay_light)
    c.rect(14, 46, 50, 49, clay_dark)  # a band of decoration
    for x in range(16, 49, 6):
        c.rect(x, 50, x + 3, 53, (238, 200, 120))
    # The mouth: the top 8 rows, a rim around the dark opening.
    c.rect(4, 0, 60, 8, clay_light)
    c.rect(4, 6, 60, 8, clay_dark)
    c.rect(8, 1, 56, 6, (44, 22, 14))
    c.rect(10, 2, 54, 5, (24, 12, 8))
    c.outline(None, (70, 34, 18))
    return c


def gem():
    c = Canvas(32, 32, MAGENTA)
    c.polygon([(16, 2), (29, 12), (16, 30), (3, 12)], (40, 150, 230))
    c.polygon([(16, 2), (29, 12), (16, 12)], (120, 210, 250))
    c.polygon([(3, 12), (16, 12), (16, 30)], (30, 110, 190))
    c.polygon([(9, 6), (16, 2), (16, 12), (3, 12)], (90, 190, 245))
    c.rect(11, 6, 13, 8, (240, 250, 255))
    c.outline(None, (16, 50, 100))
    return c


def apple():
    c = Canvas(32, 32, MAGENTA)
    c.ellipse(12, 18, 9, 11, (210, 36, 40))
    c.ellipse(20, 18, 9, 11, (210, 36, 40))
    c.ellipse(21, 21, 7, 8, (160, 24, 30))
    c.ellipse(10, 14, 3, 4, (250, 120, 110))
    c.rect(15, 3, 17, 9, (100, 64, 30))
    c.polygon([(17, 6), (27, 2), (24, 8)], (70, 170, 60))
    c.outline(None, (70, 12, 16))
    return c


def write_bmp(path, canvas):
    stride = (canvas.width * 3 + 3) & ~3
    rows = b""
    for row in reversed(canvas.rows):
        line = b"".join(struct.pack("<BBB", b, g, r) for r, g, b in row)
        rows += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(rows),
                       2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + rows)


def write_png(path, canvas, zoom):
    raw = b""
    for row in canvas.rows:
        line = b"".join(bytes(rgb) * zoom for rgb in row)
        raw += (b"\0" + line) * zoom

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", canvas.width * zoom, canvas.height * zoom, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw)) +
                chunk(b"IEND", b""))


def write_icon(path, canvas, zoom=1):
    """An RGBA PNG in which magenta is transparent, each pixel `zoom` x `zoom`."""
    raw = b""
    for row in canvas.rows:
        line = b"".join((bytes(rgb) + (b"\0" if rgb == MAGENTA else b"\xff")) * zoom for rgb in row)
        raw += (b"\0" + line) * zoom

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", canvas.width * zoom, canvas.height * zoom, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw)) +
                chunk(b"IEND", b""))


def main():
    pictures = {"back1.bmp": background(), "Quib1.bmp": dropper(), "pot1.bmp": pot(),
                "ZOBU1.bmp": gem(), "ZOBU2.bmp": apple()}
    back = pictures["back1.bmp"]
    assert all(rgb != MAGENTA for row in back.rows for rgb in row), "magenta in the background"
    assert pictures["Quib1.bmp"].get(64, 159) != MAGENTA, "items leave the Dropper's bottom middle"
    os.makedirs("Bitmaps", exist_ok=True)
    for name, canvas in pictures.items():
        write_bmp(os.path.join("Bitmaps", name), canvas)
    write_icon(os.path.join("res", "zobu4.png"), pictures["pot1.bmp"])
    # The sizes software centres show, the pixels doubled and doubled again: never smoothed.
    for zoom in (2, 4):
        write_icon(os.path.join("res", f"zobu4-{64 * zoom}.png"), pictures["pot1.bmp"], zoom)
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        for name, canvas in pictures.items():
            write_png(os.path.join(sys.argv[2], name.replace(".bmp", ".png")), canvas,
                      1 if canvas.width > 200 else 3)


if __name__ == "__main__":
    main()
