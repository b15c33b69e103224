// Conformance: the BMP reader, over every variant Windows accepts and over malformed files.
#include "gdi/bmp.h"

#include "support/bmp_writer.h"

#include <gtest/gtest.h>

#include <string.h>

#include <tuple>

namespace {

TEST(BmpReader, ValidVariants_DecodeToThePixelsWritten) {
    using Row = std::tuple<const char*, BmpLayout>;
    using H = BmpHeader;
    using E = BmpEncoding;
    auto with = [](BmpLayout layout, void (*change)(BmpLayout&)) {
        change(layout);
        return layout;
    };
    const Row rows[] = {
        {"1 bpp", Layout(1)},
        {"4 bpp", Layout(4)},
        {"8 bpp", Layout(8)},
        {"16 bpp 5:5:5", Layout(16)},
        {"16 bpp 5:6:5 bit fields", Layout(16, H::Info, E::Bitfields)},
        {"24 bpp", Layout(24)},
        {"32 bpp", Layout(32)},
        {"32 bpp bit fields", Layout(32, H::Info, E::Bitfields)},
        {"RLE8", Layout(8, H::Info, E::Rle)},
        {"RLE4", Layout(4, H::Info, E::Rle)},
        {"OS/2 1 bpp", Layout(1, H::Core)},
        {"OS/2 8 bpp", Layout(8, H::Core)},
        {"OS/2 24 bpp", Layout(24, H::Core)},
        {"V4 24 bpp", Layout(24, H::V4)},
        {"V4 16 bpp bit fields", Layout(16, H::V4, E::Bitfields)},
        {"V5 32 bpp bit fields", Layout(32, H::V5, E::Bitfields)},
        {"V5 8 bpp", Layout(8, H::V5)},
        {"24 bpp top-down", with(Layout(24), [](BmpLayout& l) { l.top_down = true; })},
        {"8 bpp top-down", with(Layout(8), [](BmpLayout& l) { l.top_down = true; })},
        {"4 bpp, 3-colour palette", with(Layout(4), [](BmpLayout& l) { l.palette_size = 3; })},
        {"gap before the pixels", with(Layout(8), [](BmpLayout& l) { l.gap = 10; })},
        // Rows padded past a 32-bit boundary.
        {"33 x 1 at 1 bpp", with(Layout(1), [](BmpLayout& l) { l.width = 33, l.height = 1; })},
        {"resource", with(Layout(8), [](BmpLayout& l) { l.file_header = false; })},
        // An optional colour table above 8 bits per pixel.
        {"resource, 24 bpp with a colour table",
         with(Layout(24), [](BmpLayout& l) { l.file_header = false, l.palette_size = 2; })},
    };
    for (const auto& [name, layout] : rows) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = WriteBmp(layout);
        DecodedBitmap decoded;
        std::string error;
        const BmpSource source = layout.file_header ? BmpSource::File : BmpSource::Resource;
        ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), source, &decoded, &error)) << error;
        EXPECT_EQ(decoded.width, layout.width);
        EXPECT_EQ(decoded.height, layout.height);
        const std::vector<uint32_t> expected = TestPicture(layout);
        ASSERT_EQ(decoded.pixels.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(decoded.pixels[i], expected[i])
                << "pixel (" << i % layout.width << ", " << i / layout.width << ")";
        }
    }
}

// Deltas and end-of-line escapes skip pixels, which keep palette entry 0.
TEST(BmpReader, Rle8_DeltaAndEndOfLine_SkipPixels) {
    BmpLayout layout = Layout(8, BmpHeader::Info, BmpEncoding::Rle);
    layout.width = 4;
    layout.height = 3;
    std::vector<uint8_t> bytes = WriteBmp(layout);
    // Replace the pixels: bottom row "1 1" then end of line; a delta of (2, 1) to the top
    // row; one pixel of colour 2; end of bitmap.
    const uint32_t offset = static_cast<uint32_t>(bytes[10] | (bytes[11] << 8));
    bytes.resize(offset);
    for (int b : {2, 1, 0, 0, 0, 2, 2, 1, 1, 2, 0, 1}) {
        bytes.push_back(static_cast<uint8_t>(b));
    }
    DecodedBitmap decoded;
    std::string error;
    ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), BmpSource::File, &decoded, &error)) << error;
    const uint32_t k = 0x000000, w = 0xFFFFFF, r = 0xFF0000;
    EXPECT_EQ(decoded.pixels, (std::vector<uint32_t>{k, k, r, k, k, k, k, k, w, w, k, k}));
}

TEST(BmpReader, MalformedFiles_AreRefusedWithAReason) {
    const std::vector<uint8_t> good = WriteBmp(Layout(8));
    const std::vector<uint8_t> good_rle = WriteBmp(Layout(8, BmpHeader::Info, BmpEncoding::Rle));
    const size_t pixels = 14 + 40 + 256 * 4;

    using Row = std::tuple<const char*, std::vector<uint8_t>, const char*>;
    auto with = [](std::vector<uint8_t> bytes, size_t at, std::vector<uint8_t> patch) {
        std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<long>(at));
        return bytes;
    };
    auto cut = [](std::vector<uint8_t> bytes, size_t size) {
        bytes.resize(size);
        return bytes;
    };
    const std::vector<Row> rows = {
        {"empty", {}, "truncated file header"},
        {"no signature", with(good, 0, {'B', 'X'}), "signature"},
        {"truncated info header", cut(good, 30), "truncated bitmap header"},
        {"unknown header size", with(good, 14, {20, 0, 0, 0}), "header size"},
        {"zero width", with(good, 18, {0, 0, 0, 0}), "no picture"},
        {"negative width", with(good, 18, {0xFF, 0xFF, 0xFF, 0xFF}), "no picture"},
        {"zero height", with(good, 22, {0, 0, 0, 0}), "no picture"},
        {"picture over 256 MiB", with(with(good, 18, {0, 0, 1, 0}), 22, {0, 0, 1, 0}), "256 MiB"},
        {"two planes", with(good, 26, {2, 0}), "planes"},
        {"3 bits per pixel", with(good, 28, {3, 0}), "bit count"},
        {"unknown compression", with(good, 30, {7, 0, 0, 0}), "compression"},
        {"RLE8 at 24 bpp", with(WriteBmp(BmpLayout()), 30, {1, 0, 0, 0}), "compression"},
        {"bit fields at 8 bpp", with(good, 30, {3, 0, 0, 0}), "compression"},
        {"truncated palette", cut(good, 14 + 40 + 100), "palette"},
        {"pixel offset past the end", with(good, 10, {0xFF, 0xFF, 0, 0}), "past the end"},
        {"pixel offset in the headers", with(good, 10, {20, 0, 0, 0}), "inside the headers"},
        {"truncated pixels", cut(good, good.size() - 1), "truncated pixels"},
        {"top-down RLE", with(good_rle, 22, {0xFB, 0xFF, 0xFF, 0xFF}), "top-down"},
        {"RLE without end marker", cut(good_rle, good_rle.size() - 2), "end-of-bitmap"},
        {"RLE run past the row", with(good_rle, pixels, {9, 1}), "past the end of its row"},
        {"RLE literal past the row", with(good_rle, pixels + 2, {0, 9}), "past the end of its row"},
        {"RLE delta out of the picture", with(good_rle, pixels, {0, 2, 0, 9}), "delta"},
        {"RLE delta into the row below the last", with(good_rle, pixels, {0, 2, 1, 5}), "delta"},
        {"RLE run below the last row", with(good_rle, pixels, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1}),
         "below the last row"},
        {"RLE literal below the last row",
         with(good_rle, pixels, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 1, 1, 1, 0}),
         "below the last row"},
    };
    for (const auto& [name, bytes, reason] : rows) {
        SCOPED_TRACE(name);
        DecodedBitmap decoded;
        decoded.width = 99;
        std::string error;
        EXPECT_FALSE(DecodeBmp(bytes.data(), bytes.size(), BmpSource::File, &decoded, &error));
        EXPECT_NE(error.find(reason), std::string::npos) << "reason given: " << error;
        EXPECT_TRUE(decoded.pixels.empty());
        EXPECT_EQ(decoded.width, 0);
    }
}

// Each channel's mask must be one run of bits, and no two channels may share a bit.
TEST(BmpReader, BitfieldMasks_NonEmptyContiguousAndApart) {
    using Row = std::tuple<const char*, int, uint32_t, uint32_t, uint32_t, bool>;
    static const Row rows[] = {
        {"5:6:5", 16, 0xF800, 0x07E0, 0x001F, true},
        {"empty red", 16, 0x0000, 0x07E0, 0x001F, false},
        {"red with a gap", 16, 0xD800, 0x07E0, 0x001F, false},
        {"red overlaps green", 32, 0x00FFFF00, 0x0000FFFF, 0xFF000000, false},
        {"blue inside red", 32, 0x00FF0000, 0x0000FF00, 0x00010000, false},
        {"blue and red apart, green between", 32, 0xFF000000, 0x00FF0000, 0x000000FF, true},
    };
    for (const auto& [name, bits, red, green, blue, valid] : rows) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes =
            WriteBmp(Layout(bits, BmpHeader::Info, BmpEncoding::Bitfields));
        const uint32_t masks[3] = {red, green, blue};
        memcpy(&bytes[14 + 40], masks, sizeof masks);
        DecodedBitmap decoded;
        std::string error;
        EXPECT_EQ(DecodeBmp(bytes.data(), bytes.size(), BmpSource::File, &decoded, &error), valid)
            << error;
        if (!valid) {
            EXPECT_NE(error.find("masks"), std::string::npos) << error;
        }
    }
}

} // namespace
