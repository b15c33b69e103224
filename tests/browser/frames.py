"""Pictures of the screen for the browser tests: golden PNGs and the page's 5:6:5 frames,
both as lists of 0xRRGGBB pixels, 640 x 480, top row first."""
import base64
import struct
import zlib

WIDTH, HEIGHT = 640, 480


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    """An 8-bit RGB or RGBA PNG, not interlaced (what our snapshots are), as pixels."""
    with open(path, 'rb') as f:
        data = f.read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError(f'{path}: not a PNG')
    at, idat, header = 8, b'', None
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f'{path}: not an 8-bit RGB or RGBA PNG')
    step = 3 if colour == 2 else 4
    stride = width * step
    raw = zlib.decompress(idat)
    previous = bytearray(stride)
    pixels = []
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = row[i - step] if i >= step else 0
            up = previous[i]
            corner = previous[i - step] if i >= step else 0
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                row[i] = (row[i] + _paeth(left, up, corner)) & 0xFF
        pixels.extend((row[i] << 16) | (row[i + 1] << 8) | row[i + 2]
                      for i in range(0, stride, step))
        previous = row
    return width, height, pixels


def widen(pixel):
    """A 5:6:5 pixel as 0xRRGGBB, each channel widened by repeating its top bits."""
    r, g, b = (pixel >> 11) & 0x1F, (pixel >> 5) & 0x3F, pixel & 0x1F
    return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2)


def from_page(text):
    """A frame as the page's zobu.frame() gives it (base64 of little-endian 5:6:5)."""
    raw = base64.b64decode(text)
    if len(raw) != WIDTH * HEIGHT * 2:
        raise ValueError(f'a frame of {len(raw)} bytes')
    return [widen(p) for p in struct.unpack(f'<{WIDTH * HEIGHT}H', raw)]


def differences(a, b, box=(0, 0, WIDTH, HEIGHT)):
    """The pixels of box (left, top, right, bottom) where a and b differ, as (x, y)."""
    left, top, right, bottom = box
    return [(x, y) for y in range(top, bottom) for x in range(left, right)
            if a[y * WIDTH + x] != b[y * WIDTH + x]]
