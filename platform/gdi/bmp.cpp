// Zobu 4 platform floor: the BMP reader.
#include "bmp.h"

#include <string.h>

namespace {

// Header sizes that name the header's kind.
constexpr uint32_t kCoreHeader = 12;   // OS/2 BITMAPCOREHEADER
constexpr uint32_t kInfoHeader = 40;   // BITMAPINFOHEADER
constexpr uint32_t kInfoV2Header = 52; // with RGB masks
constexpr uint32_t kInfoV3Header = 56; // with RGBA masks
constexpr uint32_t kV4Header = 108, kV5Header = 124;
constexpr size_t kFileHeader = 14;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

// Bounds-checked little-endian reads; callers check Has() before reading.
class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t size() const { return size_; }
    bool Has(size_t at, size_t count) const { return at <= size_ && count <= size_ - at; }
    uint8_t U8(size_t at) const { return data_[at]; }
    uint16_t U16(size_t at) const {
        return static_cast<uint16_t>(data_[at] | (data_[at + 1] << 8));
    }
    uint32_t U32(size_t at) const {
        return static_cast<uint32_t>(U16(at)) | (static_cast<uint32_t>(U16(at + 2)) << 16);
    }
    const uint8_t* At(size_t at) const { return data_ + at; }

  private:
    const uint8_t* data_;
    size_t size_;
};

struct Header {
    uint32_t header_size = 0;
    int64_t width = 0;
    int64_t height = 0; // negative: top-down
    uint32_t bit_count = 0;
    uint32_t compression = kRgb;
    uint32_t colors_used = 0;
    uint32_t masks[3] = {0, 0, 0};
    bool core = false;
};

// One colour channel given by a bit mask, widened to 8 bits.
struct Channel {
    uint32_t shift = 0;
    uint32_t bits = 0;

    bool Set(uint32_t mask) {
        if (mask == 0) {
            return false;
        }
        shift = 0;
        while (!(mask & 1u)) {
            mask >>= 1;
            ++shift;
        }
        bits = 0;
        while (mask & 1u) {
            mask >>= 1;
            ++bits;
        }
        return mask == 0; // contiguous
    }
    uint32_t Extract(uint32_t pixel) const {
        const uint32_t value = (pixel >> shift) & (bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1);
        if (bits >= 8) {
            return value >> (bits - 8);
        }
        // Repeat the field's bits until they fill a byte, so that a full field gives 255.
        uint32_t wide = 0, filled = 0;
        while (filled < 8) {
            wide = (wide << bits) | value;
            filled += bits;
        }
        return (wide >> (filled - 8)) & 0xFF;
    }
};

bool Fail(std::string* error, const std::string& reason) {
    *error = reason;
    return false;
}

bool ReadHeader(const Reader& r, size_t at, Header* h, std::string* error) {
    if (!r.Has(at, 4)) {
        return Fail(error, "truncated bitmap header");
    }
    h->header_size = r.U32(at);
    switch (h->header_size) {
    case kCoreHeader:
    case kInfoHeader:
    case kInfoV2Header:
    case kInfoV3Header:
    case kV4Header:
    case kV5Header:
        break;
    default:
        return Fail(error, "unknown bitmap header size " + std::to_string(h->header_size));
    }
    if (!r.Has(at, h->header_size)) {
        return Fail(error, "truncated bitmap header");
    }
    if (h->header_size == kCoreHeader) {
        h->core = true;
        h->width = r.U16(at + 4);
        h->height = r.U16(at + 6);
        if (r.U16(at + 8) != 1) {
            return Fail(error, "planes is not 1");
        }
        h->bit_count = r.U16(at + 10);
        if (h->bit_count != 1 && h->bit_count != 4 && h->bit_count != 8 && h->bit_count != 24) {
            return Fail(error, "unsupported bit count " + std::to_string(h->bit_count));
        }
        return true;
    }
    h->width = static_cast<int32_t>(r.U32(at + 4));
    h->height = static_cast<int32_t>(r.U32(at + 8));
    if (r.U16(at + 12) != 1) {
        return Fail(error, "planes is not 1");
    }
    h->bit_count = r.U16(at + 14);
    h->compression = r.U32(at + 16);
    h->colors_used = r.U32(at + 32);
    if (h->header_size >= kInfoV2Header) {
        for (int i = 0; i < 3; ++i) {
            h->masks[i] = r.U32(at + 40 + 4 * static_cast<size_t>(i));
        }
    }
    switch (h->bit_count) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return Fail(error, "unsupported bit count " + std::to_string(h->bit_count));
    }
    const bool valid = (h->compression == kRgb) || (h->compression == kRle8 && h->bit_count == 8) ||
                       (h->compression == kRle4 && h->bit_count == 4) ||
                       (h->compression == kBitfields && (h->bit_count == 16 || h->bit_count == 32));
    if (!valid) {
        return Fail(error, "compression " + std::to_string(h->compression) + " with " +
                               std::to_string(h->bit_count) + " bits per pixel");
    }
    if ((h->compression == kRle8 || h->compression == kRle4) && h->height < 0) {
        return Fail(error, "run-length pixels cannot be top-down");
    }
    return true;
}

// Decodes run-length pixels into indices, bottom row first as they are stored.
bool DecodeRle(const Reader& r, size_t at, int bits, int64_t width, int64_t height,
               std::vector<uint8_t>* indices, std::string* error) {
    int64_t x = 0, y = 0; // y counts rows from the bottom
    auto put = [&](uint8_t index) { (*indices)[static_cast<size_t>(y * width + x)] = index; };
    for (;;) {
        if (!r.Has(at, 2)) {
            return Fail(error, "run-length pixels end before their end-of-bitmap marker");
        }
        const uint8_t count = r.U8(at), value = r.U8(at + 1);
        at += 2;
        if (count > 0) {
            if (y >= height) {
                return Fail(error, "a run lies below the last row");
            }
            if (x + count > width) {
                return Fail(error, "a run goes past the end of its row");
            }
            for (int i = 0; i < count; ++i, ++x) {
                put(bits == 8 ? value : static_cast<uint8_t>((i & 1) ? value & 0x0F : value >> 4));
            }
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return true;
        case 2: { // delta
            if (!r.Has(at, 2)) {
                return Fail(error, "truncated delta");
            }
            x += r.U8(at);
            y += r.U8(at + 1);
            at += 2;
            if (x > width || y > height || (y == height && x > 0)) {
                return Fail(error, "a delta leaves the picture");
            }
            break;
        }
        default: { // absolute: `value` literal pixels, padded to a 16-bit boundary
            const size_t bytes = bits == 8 ? value : (value + 1u) / 2u;
            if (!r.Has(at, bytes)) {
                return Fail(error, "truncated literal run");
            }
            if (y >= height) {
                return Fail(error, "a literal run lies below the last row");
            }
            if (x + value > width) {
                return Fail(error, "a literal run goes past the end of its row");
            }
            for (size_t i = 0; i < value; ++i, ++x) {
                const uint8_t b = r.U8(at + (bits == 8 ? i : i / 2));
                put(bits == 8 ? b : static_cast<uint8_t>((i & 1) ? b & 0x0F : b >> 4));
            }
            at += bytes + (bytes & 1);
            break;
        }
        }
    }
}

// One row of uncompressed pixels; the format is chosen once per row, not per pixel.
void DecodeRow(const uint8_t* src, size_t w, uint32_t bits, const std::vector<uint32_t>& palette,
               const Channel* channels, uint32_t* dst) {
    switch (bits) {
    case 1:
        for (size_t x = 0; x < w; ++x) {
            dst[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1];
        }
        break;
    case 4:
        for (size_t x = 0; x < w; ++x) {
            dst[x] = palette[(src[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F];
        }
        break;
    case 8:
        for (size_t x = 0; x < w; ++x) {
            dst[x] = palette[src[x]];
        }
        break;
    case 24:
        for (size_t x = 0; x < w; ++x, src += 3) {
            dst[x] = (static_cast<uint32_t>(src[2]) << 16) | (static_cast<uint32_t>(src[1]) << 8) |
                     src[0];
        }
        break;
    default:
        for (size_t x = 0; x < w; ++x) {
            uint32_t value = 0;
            if (bits == 16) {
                value = static_cast<uint32_t>(src[2 * x] | (src[2 * x + 1] << 8));
            } else {
                memcpy(&value, src + 4 * x, 4); // little-endian host
            }
            dst[x] = (channels[0].Extract(value) << 16) | (channels[1].Extract(value) << 8) |
                     channels[2].Extract(value);
        }
        break;
    }
}

} // namespace

bool DecodeBmp(const uint8_t* data, size_t size, BmpSource source, DecodedBitmap* out,
               std::string* error) {
    *out = DecodedBitmap();
    const Reader r(data, size);
    size_t dib = 0;
    uint64_t pixel_offset = 0; // 0: right after the palette
    if (source == BmpSource::File) {
        if (!r.Has(0, kFileHeader)) {
            return Fail(error, "truncated file header");
        }
        if (r.U8(0) != 'B' || r.U8(1) != 'M') {
            return Fail(error, "not a BMP file (no 'BM' signature)");
        }
        pixel_offset = r.U32(10);
        dib = kFileHeader;
    }
    Header h;
    if (!ReadHeader(r, dib, &h, error)) {
        return false;
    }
    if (h.width <= 0 || h.height == 0) {
        return Fail(error, "width " + std::to_string(h.width) + " and height " +
                               std::to_string(h.height) + " make no picture");
    }
    const int64_t height = h.height < 0 ? -h.height : h.height;
    const uint64_t pixel_bytes = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(height) * 4;
    if (pixel_bytes > kMaxBitmapBytes) {
        return Fail(error, "a " + std::to_string(h.width) + " x " + std::to_string(height) +
                               " picture needs more than 256 MiB");
    }

    // Bit-field masks follow a BITMAPINFOHEADER; the larger headers hold them inside.
    size_t at = dib + h.header_size;
    uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
    if (h.compression == kBitfields && h.header_size == kInfoHeader) {
        if (!r.Has(at, 12)) {
            return Fail(error, "truncated bit-field masks");
        }
        for (int i = 0; i < 3; ++i) {
            masks[i] = r.U32(at + 4 * static_cast<size_t>(i));
        }
        at += 12;
    } else if (h.compression != kBitfields) {
        masks[0] = h.bit_count == 16 ? 0x7C00 : 0xFF0000;
        masks[1] = h.bit_count == 16 ? 0x03E0 : 0x00FF00;
        masks[2] = h.bit_count == 16 ? 0x001F : 0x0000FF;
    }
    Channel channels[3];
    if (h.bit_count == 16 || h.bit_count == 32) {
        for (int i = 0; i < 3; ++i) {
            if (!channels[i].Set(masks[i])) {
                return Fail(error, "bit-field masks are empty or not contiguous");
            }
        }
        // Each bit of a pixel belongs to one channel at most.
        if ((masks[0] & masks[1]) | (masks[0] & masks[2]) | (masks[1] & masks[2])) {
            return Fail(error, "bit-field masks overlap");
        }
    }

    // The palette: as many entries as said, or all that the bit count allows; entries
    // past those the file gives read as black.
    std::vector<uint32_t> palette;
    if (h.bit_count <= 8) {
        const uint32_t full = 1u << h.bit_count;
        const uint32_t count = (h.colors_used == 0 || h.colors_used > full) ? full : h.colors_used;
        const size_t entry = h.core ? 3 : 4;
        if (!r.Has(at, count * entry)) {
            return Fail(error, "truncated palette");
        }
        palette.assign(full, 0);
        for (uint32_t i = 0; i < count; ++i) {
            const size_t e = at + i * entry;
            palette[i] = (static_cast<uint32_t>(r.U8(e + 2)) << 16) |
                         (static_cast<uint32_t>(r.U8(e + 1)) << 8) | r.U8(e);
        }
        at += count * entry;
    }
    if (h.bit_count > 8 && !h.core) {
        // Above 8 bits a colour table is optional, an aid to palette devices; the pixels
        // come after it all the same.
        const uint64_t table = static_cast<uint64_t>(h.colors_used) * 4;
        if (!r.Has(at, table > size ? size : static_cast<size_t>(table))) {
            return Fail(error, "truncated palette");
        }
        at += static_cast<size_t>(table);
    }
    if (pixel_offset == 0) {
        pixel_offset = at;
    } else if (pixel_offset < at) {
        return Fail(error,
                    "pixel offset " + std::to_string(pixel_offset) + " lies inside the headers");
    }
    if (pixel_offset > size) {
        return Fail(error, "pixel offset " + std::to_string(pixel_offset) +
                               " lies past the end of the file");
    }
    const size_t pixels_at = static_cast<size_t>(pixel_offset);

    const size_t w = static_cast<size_t>(h.width);
    const size_t rows = static_cast<size_t>(height);
    const bool top_down = h.height < 0;
    std::vector<uint32_t> pixels;

    if (h.compression == kRle8 || h.compression == kRle4) {
        std::vector<uint8_t> indices(w * rows, 0); // skipped pixels keep index 0
        if (!DecodeRle(r, pixels_at, static_cast<int>(h.bit_count), h.width, height, &indices,
                       error)) {
            return false;
        }
        pixels.resize(w * rows);
        for (size_t y = 0; y < rows; ++y) {
            for (size_t x = 0; x < w; ++x) {
                pixels[(rows - 1 - y) * w + x] = palette[indices[y * w + x]];
            }
        }
    } else {
        const uint64_t stride = (static_cast<uint64_t>(w) * h.bit_count + 31) / 32 * 4;
        if (!r.Has(pixels_at, 0) || stride * rows > size - pixels_at) {
            return Fail(error, "truncated pixels: " + std::to_string(stride * rows) +
                                   " bytes needed, " + std::to_string(size - pixels_at) +
                                   " present");
        }
        pixels.resize(w * rows);
        for (size_t row = 0; row < rows; ++row) {
            const uint8_t* src = r.At(pixels_at + static_cast<size_t>(stride) * row);
            uint32_t* dst = &pixels[(top_down ? row : rows - 1 - row) * w];
            DecodeRow(src, w, h.bit_count, palette, channels, dst);
        }
    }
    out->width = static_cast<int32_t>(h.width);
    out->height = static_cast<int32_t>(height);
    out->bit_count = static_cast<int>(h.bit_count);
    out->pixels = std::move(pixels);
    return true;
}
