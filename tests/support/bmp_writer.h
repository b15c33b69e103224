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
};

// The colour of each pixel of the test picture, 0x00RRGGBB, top row first: channels are
// 0x00 or 0xFF only, so every format holds them exactly. Paletted pictures use the first
// `colors` of them.
uint32_t TestColor(int32_t x, int32_t y, int colors);
std::vector<uint32_t> TestPicture(const BmpLayout& layout);

// The file (or, without file_header, the resource) that holds TestPicture(layout).
std::vector<uint8_t> WriteBmp(const BmpLayout& layout);

// A 24-bit file of the given size whose every pixel comes from `color(x, y)`.
template <typename Color>
std::vector<uint8_t> WriteBmp24(int32_t width, int32_t height, Color color);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

// --- implementation of the template ---
void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes);
std::vector<uint8_t> Bmp24Header(int32_t width, int32_t height);

template <typename Color>
std::vector<uint8_t> WriteBmp24(int32_t width, int32_t height, Color color) {
    std::vector<uint8_t> out = Bmp24Header(width, height);
    const int32_t stride = (width * 3 + 3) / 4 * 4;
    for (int32_t row = height - 1; row >= 0; --row) {
        for (int32_t x = 0; x < width; ++x) {
            PutLe(out, color(x, row) & 0xFFFFFF, 3);
        }
        out.resize(out.size() + static_cast<size_t>(stride - width * 3), 0);
    }
    return out;
}
