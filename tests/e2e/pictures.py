"""Pictures for the end-to-end scripts: each is read as a function (x, y) -> (r, g, b).

  read(path)   a PPM from ImageMagick's import (screenshots of an X screen), or one of our
               own PNG snapshots and golden frames (8-bit RGB, filtered rows, no interlace)
  leftmost(picture, colour, top, bottom)
               the leftmost x where the colour shows within those rows, or None: the tests
               follow the Dropper by the star on its hat
  rgb565(pixel)
               the 5:6:5 value a pixel was widened from: X's screenshots and our PNG writer
               widen them to 8 bits in different ways
  find(shot, width, height, golden)
               where the golden frame's top-left corner lies in a screenshot of that size,
               or None: a window placed by a compositor, under its title bar
"""
import struct
import zlib


def _ppm(data):
    parts = data.split(maxsplit=4)
    width, height = int(parts[1]), int(parts[2])
    assert parts[3] == b"255", "an 8-bit picture"
    pixels = parts[4][-width * height * 3:]
    return lambda x, y: tuple(pixels[3 * (y * width + x): 3 * (y * width + x) + 3])


def _png(data):
    width, height = struct.unpack(">II", data[16:24])
    chunks, at = b"", 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            chunks += data[at + 8:at + 8 + length]
        at += 12 + length
    raw, rows, previous = zlib.decompress(chunks), [], bytearray(width * 3)
    for y in range(height):
        line = raw[y * (width * 3 + 1):(y + 1) * (width * 3 + 1)]
        kind, row = line[0], bytearray(line[1:])
        for i in range(len(row)):
            a = row[i - 3] if i >= 3 else 0
            b = previous[i]
            c = previous[i - 3] if i >= 3 else 0
            if kind == 1:
                row[i] = (row[i] + a) & 255
            elif kind == 2:
                row[i] = (row[i] + b) & 255
            elif kind == 3:
                row[i] = (row[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(row))
        previous = row
    return lambda x, y: tuple(rows[y][3 * x:3 * x + 3])


def read(path):
    data = open(path, "rb").read()
    return _png(data) if data.startswith(b"\x89PNG") else _ppm(data)


def leftmost(picture, colour, top=85, bottom=245):
    return min((x for y in range(top, bottom) for x in range(640) if picture(x, y) == colour),
               default=None)


def rgb565(p):
    return (p[0] >> 3, p[1] >> 2, p[2] >> 3)


def find(shot, width, height, golden):
    corner = [rgb565(golden(x, y)) for y in (0, 40) for x in range(0, 640, 40)]
    for top in range(height - 480 + 1):
        for left in range(width - 640 + 1):
            if rgb565(shot(left, top)) == corner[0] and corner == [
                    rgb565(shot(left + x, top + y)) for y in (0, 40) for x in range(0, 640, 40)]:
                return left, top
    return None
