// Zobu 4 platform floor: the BMP reader behind LoadImageA and LoadBitmapA.
//
// Accepts every variant Windows accepts: 1, 4, 8, 16, 24 and 32 bits per pixel; full and
// short palettes; BI_RGB, BI_BITFIELDS, BI_RLE8 and BI_RLE4 (with deltas and end-of-line
// escapes); bottom-up and top-down rows; the OS/2 BITMAPCOREHEADER, BITMAPINFOHEADER and
// its V2/V3 extensions, BITMAPV4HEADER and BITMAPV5HEADER; a gap before the pixels.
//
// Refuses anything malformed with a reason and no crash: truncated headers or pixels,
// absurd or zero sizes, unknown compressions, bit-field masks that are empty, broken or
// overlapping, runs or deltas that leave the picture, offsets past the file, and pictures
// whose pixels would take more than 256 MiB. It reads nothing outside the bytes it is given
// and allocates only once the size is known to fit.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

// The largest decoded picture: width * height * 4 bytes.
constexpr uint64_t kMaxBitmapBytes = 256ull << 20;

struct DecodedBitmap {
    int32_t width = 0;
    int32_t height = 0;
    int bit_count = 0;            // the file's own depth, as a DIB section of it reports
    std::vector<uint32_t> pixels; // 0x00RRGGBB, top row first
};

enum class BmpSource {
    File,     // a .bmp file: BITMAPFILEHEADER, then the DIB
    Resource, // an RT_BITMAP resource: the DIB alone, pixels right after the palette
};

// Decodes; on failure returns false with the reason in *error and leaves *out empty.
bool DecodeBmp(const uint8_t* data, size_t size, BmpSource source, DecodedBitmap* out,
               std::string* error);
