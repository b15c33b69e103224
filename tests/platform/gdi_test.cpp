// Conformance: our GDI's colours, blits, text, regions and bitmap loading.
#include "support/bmp_writer.h"
#include "support/ddraw_helpers.h"
#include "support/platform_fixture.h"
#include "support/res_builder.h"

#include "host/headless/headless.h"
#include "kernel/resources.h"

#include <sys/stat.h>

#include <algorithm>
#include <tuple>

namespace {

using GdiTest = DirectDrawTest;

// GDI turns a COLORREF into a pixel by truncating each channel.
TEST_F(GdiTest, SetPixel_ColorConversion_TruncatesPerFormat) {
    using Row = std::tuple<const char*, int, COLORREF, DWORD>;
    static const Row rows[] = {
        {"magenta 5:6:5", 16, RGB(255, 0, 255), 0xF81F},
        {"magenta 5:5:5", 15, RGB(255, 0, 255), 0x7C1F},
        {"magenta 32", 32, RGB(255, 0, 255), 0x00FF00FF},
        {"dark 5:6:5", 16, RGB(7, 3, 7), 0x0000},
        {"grey 5:6:5", 16, RGB(128, 128, 128), 0x8410},
        {"grey 5:5:5", 15, RGB(128, 128, 128), 0x4210},
        {"yellow 5:6:5", 16, RGB(255, 255, 0), 0xFFE0},
    };
    for (const auto& [name, bits, color, raw] : rows) {
        SCOPED_TRACE(name);
        IDirectDrawSurface7* surface = Surface(2, 1, bits);
        HDC dc = nullptr;
        ASSERT_HR(DD_OK, surface->GetDC(&dc));
        const COLORREF set = SetPixel(dc, 1, 0, color);
        // Read back, the pixel widens again: a second write gives the same raw value.
        EXPECT_EQ(GetPixel(dc, 1, 0), set);
        SetPixel(dc, 0, 0, set);
        surface->ReleaseDC(dc);
        EXPECT_EQ(ReadPixel(surface, 1, 0), raw);
        EXPECT_EQ(ReadPixel(surface, 0, 0), raw);
    }
}

TEST_F(GdiTest, GetPixel_OutsideTheBitmap_IsInvalid) {
    auto* memory = new MemoryBitmap(4, 3);
    HDC dc = memory->dc;
    HBITMAP bitmap = memory->bitmap;
    EXPECT_NE(GetPixel(dc, 3, 2), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 4, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 0, 3), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(dc, 0, -1, 0), CLR_INVALID);
    BITMAP info = {};
    EXPECT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmBitsPixel, 16);
    EXPECT_FALSE(DeleteObject(bitmap)) << "a selected bitmap is not deleted";
    delete memory;
    EXPECT_EQ(GetObjectA(bitmap, sizeof info, &info), 0);
}

// Enlarging, GDI takes the pixel under each destination pixel's centre; shrinking in the
// default BLACKONWHITE mode, the dropped pixels are ANDed into the kept ones.
TEST_F(GdiTest, StretchBlt_EnlargeSamplesCentres_ShrinkAndsByDefault) {
    MemoryBitmap from_memory(4, 1), to_memory(7, 1);
    HDC from = from_memory.dc, to = to_memory.dc;
    const COLORREF column[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)};
    for (int x = 0; x < 4; ++x) {
        SetPixel(from, x, 0, column[x]);
    }
    ASSERT_TRUE(StretchBlt(to, 0, 0, 7, 1, from, 0, 0, 3, 1, SRCCOPY));
    const int expected[7] = {0, 0, 1, 1, 1, 2, 2};
    for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(GetPixel(to, x, 0), column[expected[x]]) << "column " << x;
    }
    EXPECT_EQ(GetStretchBltMode(to), BLACKONWHITE);
    // 4 -> 2: (red AND green) = black, (blue AND white) = blue.
    ASSERT_TRUE(StretchBlt(to, 0, 0, 2, 1, from, 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(GetPixel(to, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(to, 1, 0), RGB(0, 0, 255));
    SetStretchBltMode(to, WHITEONBLACK);
    StretchBlt(to, 0, 0, 2, 1, from, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(GetPixel(to, 0, 0), RGB(255, 255, 0));
    // COLORONCOLOR keeps the pixel under each centre; centres at 1.0 and 3.0 lie on
    // boundaries and take the earlier pixels.
    SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, 0, 0, 2, 1, from, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(GetPixel(to, 0, 0), column[0]);
    EXPECT_EQ(GetPixel(to, 1, 0), column[2]);
    EXPECT_FALSE(StretchBlt(to, 0, 0, 2, 1, from, 0, 0, 4, 1, 0x00EE0086)) << "only SRCCOPY";
    // A centre exactly between two source pixels takes the earlier one: 2 to 5 give
    // 0, 0, 0, 1, 1, where rounding the centre up would give 0, 0, 1, 1, 1.
    SetStretchBltMode(to, BLACKONWHITE);
    ASSERT_TRUE(StretchBlt(to, 0, 0, 5, 1, from, 0, 0, 2, 1, SRCCOPY));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(GetPixel(to, x, 0), column[x < 3 ? 0 : 1]) << "column " << x;
    }
}

// Extents of different signs mirror the picture, as documented; the rectangle each pair
// of corners names is the same either way.
TEST_F(GdiTest, StretchBlt_NegativeExtents_Mirror) {
    MemoryBitmap from_memory(3, 3), to_memory(6, 3);
    HDC from = from_memory.dc, to = to_memory.dc;
    const COLORREF colour[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            SetPixel(from, i, j, colour[i == 0 && j == 2 ? 2 : i]); // the bottom-left is blue
        }
    }
    struct Box {
        int x, y, width, height;
    };
    const struct {
        const char* name;
        Box to, from;
        std::vector<int> top_row; // the source column each column of the top row shows
        COLORREF bottom_left;
    } rows[] = {
        {"plain", {0, 0, 3, 3}, {0, 0, 3, 3}, {0, 1, 2}, colour[2]},
        {"destination width negative", {3, 0, -3, 3}, {0, 0, 3, 3}, {2, 1, 0}, colour[2]},
        {"source width negative", {0, 0, 3, 3}, {3, 0, -3, 3}, {2, 1, 0}, colour[2]},
        {"both widths negative", {3, 0, -3, 3}, {3, 0, -3, 3}, {0, 1, 2}, colour[2]},
        {"enlarged and mirrored", {6, 0, -6, 3}, {0, 0, 3, 3}, {2, 2, 1, 1, 0, 0}, colour[2]},
        {"height negative", {0, 3, 3, -3}, {0, 0, 3, 3}, {2, 1, 2}, colour[0]},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Box &t = row.to, &f = row.from;
        ASSERT_TRUE(StretchBlt(to, t.x, t.y, t.width, t.height, from, f.x, f.y, f.width, f.height,
                               SRCCOPY));
        for (size_t x = 0; x < row.top_row.size(); ++x) {
            EXPECT_EQ(GetPixel(to, static_cast<int>(x), 0), colour[row.top_row[x]])
                << "column " << x;
        }
        EXPECT_EQ(GetPixel(to, 0, 2), row.bottom_left);
    }
    EXPECT_FALSE(StretchBlt(to, 0, 0, 0, 3, from, 0, 0, 3, 3, SRCCOPY)) << "no width at all";
}

TEST_F(GdiTest, BitBlt_CopiesRawPixelsWithinBounds_OntoItselfRowByRow) {
    MemoryBitmap a_memory(3, 3), b_memory(3, 3);
    HDC a = a_memory.dc, b = b_memory.dc;
    SetPixel(a, 0, 0, RGB(255, 0, 0));
    SetPixel(a, 1, 1, RGB(0, 255, 0));
    ASSERT_TRUE(BitBlt(b, 1, 1, 5, 5, a, 0, 0, SRCCOPY)); // cut to what both have
    EXPECT_EQ(GetPixel(b, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(b, 2, 2), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(b, 0, 0), RGB(0, 0, 0));
    // Within one bitmap, a copy one row down must read each row before it is overwritten.
    MemoryBitmap memory(2, 4);
    HDC dc = memory.dc;
    const COLORREF rows[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)};
    for (int y = 0; y < 4; ++y) {
        SetPixel(dc, 0, y, rows[y]);
        SetPixel(dc, 1, y, rows[y]);
    }
    ASSERT_TRUE(BitBlt(dc, 0, 1, 2, 3, dc, 0, 0, SRCCOPY));
    const COLORREF expected[4] = {rows[0], rows[0], rows[1], rows[2]};
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(GetPixel(dc, 1, y), expected[y]) << "row " << y;
    }
    // Between formats, each pixel goes through its colour: 5:6:5 into 32 bits and back.
    IDirectDrawSurface7* wide = Surface(2, 1, 32);
    HDC wide_dc = nullptr;
    ASSERT_HR(DD_OK, wide->GetDC(&wide_dc));
    ASSERT_TRUE(BitBlt(wide_dc, 0, 0, 2, 1, dc, 0, 1, SRCCOPY));
    EXPECT_EQ(GetPixel(wide_dc, 0, 0), rows[0]);
    SetPixel(wide_dc, 1, 0, RGB(8, 4, 8));
    ASSERT_TRUE(BitBlt(dc, 0, 0, 2, 1, wide_dc, 0, 0, SRCCOPY));
    wide->ReleaseDC(wide_dc);
    EXPECT_EQ(ReadPixel(wide, 0, 0), 0x00FF0000u);
    EXPECT_EQ(GetPixel(dc, 0, 0), rows[0]);
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(8, 4, 8));
}

// FillRect takes a brush it made, or a system colour as COLOR_* + 1; a handle that is no
// brush (one deleted) fills nothing.
TEST_F(GdiTest, FillRect_SolidBrushOrSystemColour) {
    MemoryBitmap memory(4, 2);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT left = {0, 0, 2, 2}, right = {2, 0, 4, 2};
    EXPECT_EQ(FillRect(memory.dc, &left, red), 1);
    EXPECT_EQ(GetPixel(memory.dc, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(FillRect(memory.dc, &right, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), 1);
    EXPECT_EQ(GetPixel(memory.dc, 3, 0), GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(FillRect(memory.dc, &left, red), 0);
    EXPECT_EQ(FillRect(memory.dc, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), 0);
}

TEST_F(GdiTest, Fonts_HaveWindowsMetrics) {
    HDC dc = GetDC(nullptr);
    SIZE size = {};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "5", 1, &size));
    EXPECT_EQ(std::make_pair(size.cx, size.cy), std::make_pair(8, 16));
    GetTextExtentPoint32A(dc, "12", 2, &size);
    EXPECT_EQ(std::make_pair(size.cx, size.cy), std::make_pair(16, 16));
    // The dialog font: 6 x 13 base units, so 106 x 36 dialog units are 159 x 59 pixels.
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32A(dc, letters, 52, &size);
    EXPECT_EQ(std::make_pair((size.cx / 26 + 1) / 2, size.cy), std::make_pair(6, 13));
    ReleaseDC(nullptr, dc);
}

// Text is drawn opaque: each cell is ink or background, a space all background. With
// TRANSPARENT the background is not painted at all.
TEST_F(GdiTest, TextOut_OpaqueCells_TransparentLeavesTheBackgroundAlone) {
    IDirectDrawSurface7* surface = Surface(24, 16);
    Fill(surface, 0x1111);
    HDC dc = nullptr;
    surface->GetDC(&dc);
    SetBkColor(dc, RGB(255, 0, 255));
    SetTextColor(dc, RGB(255, 255, 0));
    ASSERT_TRUE(TextOutA(dc, 0, 0, "A B", 3));
    surface->ReleaseDC(dc);
    auto count = [&](LONG left, DWORD raw) {
        return CountPixels(surface, {left, 0, left + 8, 16}, raw);
    };
    EXPECT_EQ(count(8, 0xF81F), 8 * 16) << "the space's cell";
    EXPECT_EQ(count(0, 0xFFE0) + count(0, 0xF81F), 8 * 16) << "the A's cell: ink or background";
    EXPECT_GT(count(0, 0xFFE0), 10) << "the A's ink";
    EXPECT_GT(count(16, 0xFFE0), 10) << "the B's ink";

    Fill(surface, 0x1111);
    surface->GetDC(&dc);
    SetTextColor(dc, RGB(255, 255, 0));
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    ASSERT_TRUE(TextOutA(dc, 0, 0, "A B", 3));
    surface->ReleaseDC(dc);
    EXPECT_EQ(count(8, 0x1111), 8 * 16);
    EXPECT_EQ(count(0, 0xFFE0) + count(0, 0x1111), 8 * 16) << "ink, or what was there";
    EXPECT_EQ(count(0, 0xF81F), 0);
}

// A paint through a window's DC is shown once, when the DC is given back, however many
// calls drew; drawing off the screen shows nothing.
TEST_F(GdiTest, WindowDC_PresentsOnceWhenReleased) {
    const uint64_t before = HeadlessPresentCount();
    HDC dc = GetDC(window);
    for (int x = 0; x < 100; ++x) {
        SetPixel(dc, x, 0, RGB(255, 0, 0));
    }
    TextOutA(dc, 0, 10, "Score", 5);
    EXPECT_EQ(HeadlessPresentCount(), before);
    ReleaseDC(window, dc);
    EXPECT_EQ(HeadlessPresentCount(), before + 1);
    dc = GetDC(window);
    ReleaseDC(window, dc);
    EXPECT_EQ(HeadlessPresentCount(), before + 1) << "nothing drawn, nothing to show";
    SetPixel(MemoryBitmap(4, 4).dc, 0, 0, RGB(255, 0, 0));
    EXPECT_EQ(HeadlessPresentCount(), before + 1);
}

// SetWindowRgn takes a region over: the handle is no longer the caller's.
TEST_F(GdiTest, SetWindowRgn_TakesTheRegionOver) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    ASSERT_TRUE(SetWindowRgn(window, a, TRUE));
    EXPECT_FALSE(DeleteObject(a));
    EXPECT_EQ(CombineRgn(result, a, a, RGN_OR), ERROR) << "no longer a region";
    DeleteObject(result);
}

class LoadImageTest : public GdiTest {
  protected:
    TempWorkingDirectory directory;
};

HBITMAP LoadFile(const char* path, int width, int height, UINT flags = 0) {
    return static_cast<HBITMAP>(
        LoadImageA(nullptr, path, IMAGE_BITMAP, width, height, LR_LOADFROMFILE | flags));
}

BITMAP InfoOf(HBITMAP bitmap) {
    BITMAP info = {};
    EXPECT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    return info;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    DeleteDC(dc);
    return colour;
}

// A Windows path, its case ignored; the size asked for, or the file's; a DIB section when
// asked. Scaling is StretchBlt's default: 2 rows to 5 give 0, 0, 0, 1, 1.
TEST_F(LoadImageTest, FromFile_WindowsPathIgnoringCase_ScaledAsAsked) {
    BmpLayout layout;
    layout.width = 20;
    layout.height = 10;
    WriteFile("Bitmaps/zobu1.BMP", WriteBmp(layout));
    HBITMAP bitmap = LoadFile("bitmaps\\ZOBU1.bmp", 32, 32, LR_CREATEDIBSECTION);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(std::make_pair(InfoOf(bitmap).bmWidth, InfoOf(bitmap).bmHeight),
              std::make_pair(32, 32));
    EXPECT_NE(InfoOf(bitmap).bmBits, nullptr) << "a DIB section";
    DeleteObject(bitmap);
    bitmap = LoadFile("Bitmaps\\zobu1.bmp", 0, 0);
    EXPECT_EQ(std::make_pair(InfoOf(bitmap).bmWidth, InfoOf(bitmap).bmHeight),
              std::make_pair(20, 10));
    const uint32_t rgb = TestColor(1, 0, 8);
    EXPECT_EQ(PixelOf(bitmap, 1, 0), RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
    DeleteObject(bitmap);

    BmpLayout two;
    two.width = 1;
    two.height = 2;
    two.paint = [](int32_t, int32_t y) { return y == 0 ? 0xFF0000u : 0x0000FFu; };
    WriteFile("Bitmaps/two.bmp", WriteBmp(two));
    bitmap = LoadFile("Bitmaps\\two.bmp", 1, 5, LR_CREATEDIBSECTION);
    for (int y = 0; y < 5; ++y) {
        EXPECT_EQ(PixelOf(bitmap, 0, y), y < 3 ? RGB(255, 0, 0) : RGB(0, 0, 255)) << "row " << y;
    }
    DeleteObject(bitmap);
}

// What cannot be loaded gives null and one line that says why; a size that cannot be made
// is a failed load like any other. Not a resource of the module: null, and nothing said (the
// caller tries a file).
TEST_F(LoadImageTest, Failures_GiveNullAndSayWhy) {
    WriteFile("Bitmaps/broken.bmp", {'B', 'M', 1, 2, 3});
    WriteFile("Bitmaps/zobu1.bmp", WriteBmp(BmpLayout()));
    struct Row {
        const char* path;
        int width, height;
        UINT flags;
        const char* said;
    };
    static const Row rows[] = {
        {"Bitmaps\\missing.bmp", 0, 0, LR_LOADFROMFILE, "\"Bitmaps\\missing.bmp\": no such file\n"},
        {"Bitmaps", 0, 0, LR_LOADFROMFILE, "\"Bitmaps\": not a file\n"},
        {"Bitmaps\\broken.bmp", 0, 0, LR_LOADFROMFILE,
         "\"Bitmaps\\broken.bmp\": truncated file header\n"},
        {"Bitmaps\\zobu1.bmp", 70000, 70000, LR_LOADFROMFILE,
         "\"Bitmaps\\zobu1.bmp\": a 70000 x 70000 bitmap is too large to make\n"},
        {"Bitmaps\\zobu1.bmp", -32, 32, LR_LOADFROMFILE,
         "\"Bitmaps\\zobu1.bmp\": a size of -32 x 32\n"},
        {"Bitmaps\\zobu1.bmp", 32, -1, LR_LOADFROMFILE,
         "\"Bitmaps\\zobu1.bmp\": a size of 32 x -1\n"},
        {"Bitmaps\\missing.bmp", 0, 0, 0, ""},
    };
    for (const Row& row : rows) {
        HANDLE bitmap = reinterpret_cast<HANDLE>(1);
        const std::string said = StderrOf([&] {
            bitmap = LoadImageA(row.flags ? nullptr : GetModuleHandleA(nullptr), row.path,
                                IMAGE_BITMAP, row.width, row.height, row.flags);
        });
        EXPECT_EQ(bitmap, nullptr) << row.path;
        EXPECT_EQ(said.substr(std::min(said.find('"'), said.size())), row.said);
    }
}

// Whatever the name, loading from a file gives a bitmap, or null with one line on standard
// error that names the file: never a crash, a hang or a silent failure.
TEST_F(LoadImageTest, FromFile_AnyName_BitmapOrNullWithOneLine) {
    BmpLayout layout;
    WriteFile("Bitmaps/zobu1.BMP", WriteBmp(layout));
    ASSERT_EQ(mkfifo("Bitmaps/fifo.bmp", 0600), 0) << "opening a FIFO would block";
    const std::string long_name(4000, 'A');
    std::string long_path;
    while (long_path.size() < 4000) {
        long_path += "a\\";
    }
    struct Row {
        const char* name;
        std::string path;
        bool loads;
    };
    const Row rows[] = {
        {"empty", "", false},
        {"the current directory", ".", false},
        {"the current directory, slash", "./", false},
        {"the current directory, backslash", ".\\", false},
        {"the parent", "..", false},
        {"above the root", "../../../../../../../../../../../../..", false},
        {"a directory with a separator", "Bitmaps\\", false},
        {"a file with a separator", "Bitmaps\\zobu1.bmp\\", false},
        {"the root", "/", false},
        {"a device", "/dev/null", false},
        {"a FIFO", "Bitmaps\\fifo.bmp", false},
        {"a UNC name", "\\\\server\\share\\zobu1.bmp", false},
        {"a 4000-character name", long_name, false},
        {"a 4000-character path", long_path, false},
        {"doubled separators", "Bitmaps\\\\zobu1.bmp", true},
        {"dots and mixed separators", "./Bitmaps/.\\ZOBU1.BMP", true},
        {"down, up and down again", "bitmaps/../Bitmaps\\Zobu1.bmp", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HANDLE bitmap = nullptr;
        const std::string said = StderrOf([&] {
            bitmap = LoadImageA(nullptr, row.path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
        });
        EXPECT_EQ(bitmap != nullptr, row.loads);
        if (row.loads) {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            EXPECT_EQ(said.find("zobu4: cannot load bitmap \"" + row.path + "\": "), 0u) << said;
        }
        DeleteObject(bitmap);
    }
}

// A DIB section keeps the file's depth, rows padded to 4 bytes; a device-dependent bitmap
// has the display's, rows padded to 2.
TEST_F(LoadImageTest, GetObject_DepthAndRowBytesAsWindowsReportsThem) {
    using Row = std::tuple<const char*, int, UINT, WORD, LONG>;
    static const Row rows[] = {
        {"24-bit file, DIB section", 24, LR_CREATEDIBSECTION, 24, 24},
        {"8-bit file, DIB section", 8, LR_CREATEDIBSECTION, 8, 8},
        {"1-bit file, DIB section", 1, LR_CREATEDIBSECTION, 1, 4},
        {"24-bit file, display bitmap", 24, 0, 16, 14},
        {"1-bit file, display bitmap", 1, 0, 16, 14},
    };
    for (const auto& [name, file_bits, flags, bits, row_bytes] : rows) {
        SCOPED_TRACE(name);
        BmpLayout layout; // 7 pixels wide
        layout.bits = file_bits;
        WriteFile("Bitmaps/seven.bmp", WriteBmp(layout));
        HBITMAP bitmap = LoadFile("Bitmaps\\seven.bmp", 0, 0, flags);
        ASSERT_NE(bitmap, nullptr);
        const BITMAP info = InfoOf(bitmap);
        EXPECT_EQ(info.bmWidth, 7);
        EXPECT_EQ(info.bmBitsPixel, bits);
        EXPECT_EQ(info.bmWidthBytes, row_bytes);
        EXPECT_EQ(info.bmPlanes, 1);
        DeleteObject(bitmap);
    }
}

TEST_F(LoadImageTest, FromResource_FoundByNameOrNumber) {
    BmpLayout layout;
    layout.bits = 8;
    layout.file_header = false;
    const std::vector<uint8_t> dib = WriteBmp(layout);
    ResBuilder res;
    res.Add(2, 104, 0x0409, dib).Add(2, u"SKIN", 0x0409, dib);
    std::string error;
    ASSERT_TRUE(KernelSetModuleResources(res.Bytes().data(), res.Bytes().size(), &error)) << error;
    HBITMAP by_number = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(104));
    HBITMAP by_name = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), "skin", IMAGE_BITMAP, 14, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(by_number, nullptr);
    ASSERT_NE(by_name, nullptr);
    EXPECT_EQ(InfoOf(by_name).bmWidth, 14);
    EXPECT_EQ(InfoOf(by_name).bmHeight, layout.height);
    DeleteObject(by_number);
    DeleteObject(by_name);
    KernelSetModuleResources(nullptr, 0, &error);
}

} // namespace
