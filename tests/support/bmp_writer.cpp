// Writes BMP files of every variant, for tests.
#include "support/bmp_writer.h"

#include <fstream>

namespace {

const uint32_t kColors[8] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                             0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF};

int Index(int32_t x, int32_t y, int colors) {
    return (x * 3 + y * 5) % colors;
}

int ColorsOf(const BmpLayout& layout) {
    if (layout.bits > 8) {
        return 8;
    }
    const int full = 1 << layout.bits;
    const int given = layout.palette_size ? layout.palette_size : full;
    return given < 8 ? given : 8;
}

// Rows as stored: bottom-up unless top-down.
int32_t StoredRow(const BmpLayout& layout, int32_t i) {
    return layout.top_down ? i : layout.height - 1 - i;
}

std::vector<uint8_t> RlePixels(const BmpLayout& layout) {
    // Each row: the first pixel as an encoded run of one, the rest as a literal run (or
    // runs of one when fewer than three), then an end-of-line; the last ends the bitmap.
    const int colors = ColorsOf(layout);
    std::vector<uint8_t> out;
    for (int32_t i = 0; i < layout.height; ++i) {
        const int32_t y = StoredRow(layout, i);
        int32_t x = 0;
        const int first = Index(0, y, colors);
        out.push_back(1);
        out.push_back(static_cast<uint8_t>(layout.bits == 8 ? first : first << 4));
        x = 1;
        const int32_t rest = layout.width - x;
        if (rest >= 3) {
            out.push_back(0);
            out.push_back(static_cast<uint8_t>(rest));
            std::vector<uint8_t> literal;
            for (int32_t i2 = 0; i2 < rest; ++i2) {
                const int v = Index(x + i2, y, colors);
                if (layout.bits == 8) {
                    literal.push_back(static_cast<uint8_t>(v));
                } else if (i2 % 2 == 0) {
                    literal.push_back(static_cast<uint8_t>(v << 4));
                } else {
                    literal.back() |= static_cast<uint8_t>(v);
                }
            }
            if (literal.size() % 2) {
                literal.push_back(0);
            }
            out.insert(out.end(), literal.begin(), literal.end());
        } else {
            for (; x < layout.width; ++x) {
                out.push_back(1);
                const int v = Index(x, y, colors);
                out.push_back(static_cast<uint8_t>(layout.bits == 8 ? v : v << 4));
            }
        }
        out.push_back(0);
        out.push_back(i + 1 == layout.height ? 1 : 0);
    }
    return out;
}

} // namespace

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
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
    std::vector<uint8_t> header;
    const uint32_t compression = layout.encoding == BmpEncoding::Bitfields ? 3
                                 : layout.encoding == BmpEncoding::Rle ? (layout.bits == 8 ? 1 : 2)
                                                                       : 0;
    uint32_t masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    if (layout.bits == 16) {
        masks[0] = 0xF800;
        masks[1] = 0x07E0;
        masks[2] = 0x001F;
    }
    if (layout.header == BmpHeader::Core) {
        PutLe(header, 12, 4);
        PutLe(header, static_cast<uint32_t>(layout.width), 2);
        PutLe(header, static_cast<uint32_t>(layout.height), 2);
        PutLe(header, 1, 2);
        PutLe(header, static_cast<uint32_t>(layout.bits), 2);
    } else {
        const uint32_t size = layout.header == BmpHeader::Info ? 40
                              : layout.header == BmpHeader::V4 ? 108
                                                               : 124;
        PutLe(header, size, 4);
        PutLe(header, static_cast<uint32_t>(layout.width), 4);
        PutLe(header, static_cast<uint32_t>(layout.top_down ? -layout.height : layout.height), 4);
        PutLe(header, 1, 2);
        PutLe(header, static_cast<uint32_t>(layout.bits), 2);
        PutLe(header, compression, 4);
        PutLe(header, 0, 4);    // image size
        PutLe(header, 2835, 4); // 72 dpi
        PutLe(header, 2835, 4);
        PutLe(header, static_cast<uint32_t>(layout.palette_size), 4);
        PutLe(header, 0, 4);
        if (size > 40) {
            for (uint32_t m : masks) {
                PutLe(header, m, 4);
            }
            header.resize(size, 0); // alpha mask, colour space and the rest left zero
        } else if (compression == 3) {
            for (uint32_t m : masks) {
                PutLe(header, m, 4);
            }
        }
    }
    std::vector<uint8_t> palette;
    if (layout.bits <= 8 || layout.palette_size) {
        const int entries = layout.palette_size ? layout.palette_size : 1 << layout.bits;
        for (int i = 0; i < entries; ++i) {
            const uint32_t c = i < 8 ? kColors[i] : 0x123456;
            PutLe(palette, c, layout.header == BmpHeader::Core ? 3 : 4);
        }
    }
    std::vector<uint8_t> pixels;
    if (layout.encoding == BmpEncoding::Rle) {
        pixels = RlePixels(layout);
    } else {
        const int32_t stride = (layout.width * layout.bits + 31) / 32 * 4;
        for (int32_t i = 0; i < layout.height; ++i) {
            const int32_t y = StoredRow(layout, i);
            std::vector<uint8_t> row(static_cast<size_t>(stride), 0);
            for (int32_t x = 0; x < layout.width; ++x) {
                const uint32_t c = layout.paint ? layout.paint(x, y) : TestColor(x, y, colors);
                const int index = Index(x, y, colors);
                switch (layout.bits) {
                case 1:
                    row[x / 8] |= static_cast<uint8_t>(index << (7 - x % 8));
                    break;
                case 4:
                    row[x / 2] |= static_cast<uint8_t>(index << (x % 2 ? 0 : 4));
                    break;
                case 8:
                    row[x] = static_cast<uint8_t>(index);
                    break;
                case 16: {
                    const uint32_t r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
                    const uint32_t v = layout.encoding == BmpEncoding::Bitfields
                                           ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)
                                           : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
                    row[2 * x] = static_cast<uint8_t>(v);
                    row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                    break;
                }
                default:
                    for (int k = 0; k < layout.bits / 8; ++k) {
                        row[static_cast<size_t>(x * layout.bits / 8 + k)] =
                            static_cast<uint8_t>(c >> (8 * k));
                    }
                }
            }
            pixels.insert(pixels.end(), row.begin(), row.end());
        }
    }
    std::vector<uint8_t> out;
    if (layout.file_header) {
        const uint32_t offset =
            static_cast<uint32_t>(14 + header.size() + palette.size() + layout.gap);
        out.push_back('B');
        out.push_back('M');
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
