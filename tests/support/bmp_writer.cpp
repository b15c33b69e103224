// Writes BMP files of every variant, for tests.
#include "support/bmp_writer.h"

#include <fstream>
#include <utility>

namespace {

const uint32_t kColors[8] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                             0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF};

int Index(int32_t x, int32_t y, int colors) {
    return (x * 3 + y * 5) % colors;
}

int ColorsOf(const BmpLayout& layout) {
    const int given = layout.bits > 8       ? 8
                      : layout.palette_size ? layout.palette_size
                                            : 1 << layout.bits;
    return given < 8 ? given : 8;
}

// Rows as stored: bottom-up unless top-down.
int32_t StoredRow(const BmpLayout& layout, int32_t i) {
    return layout.top_down ? i : layout.height - 1 - i;
}

// Palette indexes packed `bits` to a byte, the first in the high bits.
std::vector<uint8_t> Packed(int bits, int32_t from, int32_t to, int32_t y, int colors) {
    std::vector<uint8_t> out;
    const int per_byte = 8 / bits;
    for (int32_t x = from; x < to; ++x) {
        if ((x - from) % per_byte == 0) {
            out.push_back(0);
        }
        out.back() |=
            static_cast<uint8_t>(Index(x, y, colors) << (8 - bits * (1 + (x - from) % per_byte)));
    }
    return out;
}

// Each row: the first pixel as an encoded run of one, the rest as a literal run (or runs of
// one when fewer than three), then an end-of-line; the last ends the bitmap.
std::vector<uint8_t> RlePixels(const BmpLayout& layout) {
    const int colors = ColorsOf(layout);
    std::vector<uint8_t> out;
    for (int32_t i = 0; i < layout.height; ++i) {
        const int32_t y = StoredRow(layout, i);
        const int32_t rest = layout.width - 1;
        std::vector<uint8_t> literal = Packed(layout.bits, 1, layout.width, y, colors);
        if (rest >= 3) {
            out.insert(out.end(),
                       {1, Packed(layout.bits, 0, 1, y, colors)[0], 0, static_cast<uint8_t>(rest)});
            literal.resize((literal.size() + 1) / 2 * 2, 0);
            out.insert(out.end(), literal.begin(), literal.end());
        } else {
            for (int32_t x = 0; x < layout.width; ++x) {
                out.insert(out.end(), {1, Packed(layout.bits, x, x + 1, y, colors)[0]});
            }
        }
        out.insert(out.end(), {0, static_cast<uint8_t>(i + 1 == layout.height)});
    }
    return out;
}

} // namespace

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

BmpLayout Layout(int bits, BmpHeader header, BmpEncoding encoding) {
    BmpLayout layout;
    layout.bits = bits;
    layout.header = header;
    layout.encoding = encoding;
    return layout;
}

uint32_t TestColor(int32_t x, int32_t y, int colors) {
    return kColors[Index(x, y, colors)];
}

std::vector<uint32_t> TestPicture(const BmpLayout& layout) {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < layout.height; ++y) {
        for (int32_t x = 0; x < layout.width; ++x) {
            pixels.push_back(layout.paint ? layout.paint(x, y) : TestColor(x, y, ColorsOf(layout)));
        }
    }
    return pixels;
}

std::vector<uint8_t> WriteBmp(const BmpLayout& layout) {
    const int colors = ColorsOf(layout);
    const bool rle = layout.encoding == BmpEncoding::Rle;
    const uint32_t compression = layout.encoding == BmpEncoding::Bitfields ? 3
                                 : rle ? (layout.bits == 8 ? 1 : 2)
                                       : 0;
    const uint32_t masks[3] = {layout.bits == 16 ? 0xF800u : 0xFF0000u,
                               layout.bits == 16 ? 0x07E0u : 0x00FF00u,
                               layout.bits == 16 ? 0x001Fu : 0x0000FFu};
    const auto w = static_cast<uint32_t>(layout.width), h = static_cast<uint32_t>(layout.height);
    const auto bits = static_cast<uint32_t>(layout.bits);
    std::vector<uint8_t> header;
    if (layout.header == BmpHeader::Core) {
        for (const auto& [value, size] : {std::pair{12u, 4}, {w, 2}, {h, 2}, {1u, 2}, {bits, 2}}) {
            PutLe(header, value, size);
        }
    } else {
        const uint32_t size = layout.header == BmpHeader::Info ? 40
                              : layout.header == BmpHeader::V4 ? 108
                                                               : 124;
        const uint32_t height = layout.top_down ? 0 - h : h;
        // Size, width, height, planes, bits, compression, image size, resolution across and
        // down, colours used, colours important: each value and its bytes.
        const auto colours = static_cast<uint32_t>(layout.palette_size);
        const std::pair<uint32_t, int> fields[] = {
            {size, 4}, {w, 4},     {height, 4}, {1u, 2},      {bits, 2}, {compression, 4},
            {0u, 4},   {2835u, 4}, {2835u, 4},  {colours, 4}, {0u, 4}};
        for (const auto& [value, bytes] : fields) {
            PutLe(header, value, bytes);
        }
        if (size > 40 || compression == 3) {
            for (uint32_t m : masks) {
                PutLe(header, m, 4);
            }
        }
        if (size > 40) {
            header.resize(size, 0); // alpha mask, colour space and the rest left zero
        }
    }
    std::vector<uint8_t> palette;
    if (layout.bits <= 8 || layout.palette_size) {
        const int entries = layout.palette_size ? layout.palette_size : 1 << layout.bits;
        for (int i = 0; i < entries; ++i) {
            PutLe(palette, i < 8 ? kColors[i] : 0x123456, layout.header == BmpHeader::Core ? 3 : 4);
        }
    }
    std::vector<uint8_t> pixels = rle ? RlePixels(layout) : std::vector<uint8_t>();
    const size_t stride = (w * bits + 31) / 32 * 4;
    for (int32_t i = 0; !rle && i < layout.height; ++i) {
        const int32_t y = StoredRow(layout, i);
        std::vector<uint8_t> row;
        if (layout.bits <= 8) {
            row = Packed(layout.bits, 0, layout.width, y, colors);
        }
        for (int32_t x = 0; layout.bits > 8 && x < layout.width; ++x) {
            const uint32_t c = layout.paint ? layout.paint(x, y) : TestColor(x, y, colors);
            const uint32_t r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
            if (layout.bits != 16) {
                PutLe(row, c, layout.bits / 8);
            } else if (layout.encoding == BmpEncoding::Bitfields) {
                PutLe(row, ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3), 2);
            } else {
                PutLe(row, ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3), 2);
            }
        }
        row.resize(stride, 0);
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> out;
    if (layout.file_header) {
        const auto offset = static_cast<uint32_t>(14 + header.size() + palette.size() + layout.gap);
        out = {'B', 'M'};
        PutLe(out, offset + static_cast<uint32_t>(pixels.size()), 4);
        PutLe(out, 0, 4);
        PutLe(out, offset, 4);
    }
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), palette.begin(), palette.end());
    out.resize(out.size() + static_cast<size_t>(layout.gap), 0xEE);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}
