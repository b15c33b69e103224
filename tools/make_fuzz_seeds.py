#!/usr/bin/env python3
"""Writes the fuzzers' seed corpus: one small file per BMP variant, and the .res files.

Run from the repository's root after a dev build:  python3 tools/make_fuzz_seeds.py
The files are committed; rerun only to change the set.
"""
import os
import shutil
import struct

BMP_DIR = "fuzz/corpus/bmp"
RES_DIR = "fuzz/corpus/res"


def file_header(payload_size, pixel_offset):
    return b"BM" + struct.pack("<IHHI", 14 + payload_size, 0, 0, pixel_offset)


def info_header(width, height, bits, compression=0, colors=0, size=40, masks=None):
    header = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, 0,
                         2835, 2835, colors, 0)
    extra = b""
    if size > 40:
        extra = struct.pack("<IIII", *(masks or (0, 0, 0, 0)))
        extra += b"\0" * (size - 40 - len(extra))
    return header + extra


def bmp(dib_header, palette, pixels, gap=b""):
    offset = 14 + len(dib_header) + len(palette) + len(gap)
    return file_header(len(dib_header) + len(palette) + len(gap) + len(pixels), offset) + \
        dib_header + palette + gap + pixels


def palette(n):
    return b"".join(struct.pack("<BBBB", i * 37 % 256, i * 91 % 256, i * 53 % 256, 0)
                    for i in range(n))


def rows(width, height, bytes_per_row):
    stride = (bytes_per_row + 3) // 4 * 4
    return b"".join(bytes((x * 7 + y * 13) % 256 for x in range(bytes_per_row)).ljust(stride, b"\0")
                    for y in range(height))


def main():
    os.makedirs(BMP_DIR, exist_ok=True)
    seeds = {
        "1bpp.bmp": bmp(info_header(9, 3, 1), palette(2), rows(9, 3, 2)),
        "4bpp-short-palette.bmp": bmp(info_header(5, 2, 4, colors=3), palette(3), rows(5, 2, 3)),
        "8bpp.bmp": bmp(info_header(3, 3, 8), palette(256), rows(3, 3, 3)),
        "16bpp-555.bmp": bmp(info_header(3, 2, 16), b"", rows(3, 2, 6)),
        "16bpp-565-bitfields.bmp": bmp(info_header(3, 2, 16, 3), struct.pack("<III", 0xF800, 0x07E0, 0x1F), rows(3, 2, 6)),
        "24bpp-top-down.bmp": bmp(info_header(3, -2, 24), b"", rows(3, 2, 9)),
        "32bpp-v5.bmp": bmp(info_header(2, 2, 32, 3, size=124, masks=(0xFF0000, 0xFF00, 0xFF, 0)), b"", rows(2, 2, 8)),
        "24bpp-v4-gap.bmp": bmp(info_header(2, 2, 24, size=108), b"", rows(2, 2, 6), gap=b"\0" * 6),
        "rle8.bmp": bmp(info_header(4, 2, 8, 1), palette(4),
                        bytes([2, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 0, 1])),
        "rle4.bmp": bmp(info_header(5, 2, 4, 2), palette(16),
                        bytes([5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 0, 0, 1])),
        "os2-core.bmp": file_header(12 + 6 + 8, 14 + 12 + 6) + struct.pack("<IHHHH", 12, 3, 2, 1, 1)
        + bytes([0, 0, 0, 255, 255, 255]) + rows(3, 2, 1),
    }
    for name, data in seeds.items():
        with open(os.path.join(BMP_DIR, name), "wb") as f:
            f.write(data)
    os.makedirs(RES_DIR, exist_ok=True)
    res = "build/dev/platform/zobu4.res"
    if os.path.exists(res):
        shutil.copy(res, os.path.join(RES_DIR, "zobu4.res"))
    print(f"wrote {len(seeds)} BMP seeds to {BMP_DIR} and the .res seed to {RES_DIR}")


if __name__ == "__main__":
    main()
