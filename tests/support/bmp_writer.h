// Writes BMP files of every variant, for tests of the reader and of loading bitmaps.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

enum class BmpHeader { Core, Info, V4, V5 };
enum class BmpEncoding { Rgb, Bitfields, Rle };

struct BmpLayout {
    int32_t width = 7;
    int32_t height = 5;
    int bits = 24;
    BmpHeader header = BmpHeader::Info;
    BmpEncoding encoding = BmpEncoding::Rgb;
    bool top_down = false;
    int palette_size = 0; // 0: as many as the bit count allows
    int gap = 0;          // bytes between the palette and the pixels
    bool file_header = true;
    // At 24 and 32 bpp, each pixel's colour (0x00RRGGBB) in place of the test picture's.
    uint32_t (*paint)(int32_t x, int32_t y) = nullptr;
};

// The default 7 x 5 picture in the given format.
BmpLayout Layout(int bits, BmpHeader header = BmpHeader::Info,
                 BmpEncoding encoding = BmpEncoding::Rgb);

// The colour of each pixel of the test picture, 0x00RRGGBB, top row first: channels are
// 0x00 or 0xFF only, so every format holds them exactly. Paletted pictures use the first
// `colors` of them.
uint32_t TestColor(int32_t x, int32_t y, int colors);
std::vector<uint32_t> TestPicture(const BmpLayout& layout);

// The file (or, without file_header, the resource) that holds TestPicture(layout).
std::vector<uint8_t> WriteBmp(const BmpLayout& layout);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Appends `value` in `bytes` little-endian bytes.
void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes);
