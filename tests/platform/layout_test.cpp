// The records the game hands to Windows have Windows' own sizes for the build's word size:
// 32-bit Windows' on a 32-bit build (i686, armhf), 64-bit Windows' on a 64-bit one. A size
// that differs means a field of the wrong width, or padding where Windows has none.
#include <windows.h>
#include <ddraw.h>

#include <gtest/gtest.h>

TEST(RecordLayout, SizesAreWindowsOwnForTheWordSize) {
    constexpr bool k64 = sizeof(void*) == 8;
    struct Row {
        const char* name;
        size_t size, win32, win64;
    };
#define ZOBU_RECORD(type, win32, win64)                                                            \
    { #type, sizeof(type), win32, win64 }
    const Row rows[] = {
        ZOBU_RECORD(MSG, 28, 48),
        ZOBU_RECORD(DDSURFACEDESC2, 124, 136),
        ZOBU_RECORD(DDBLTFX, 100, 128),
        ZOBU_RECORD(DDPIXELFORMAT, 32, 32),
        ZOBU_RECORD(DDCOLORKEY, 8, 8),
        ZOBU_RECORD(DDSCAPS2, 16, 16),
        ZOBU_RECORD(RECT, 16, 16),
        ZOBU_RECORD(POINT, 8, 8),
        ZOBU_RECORD(SIZE, 8, 8),
        ZOBU_RECORD(WNDCLASSA, 40, 72),
        ZOBU_RECORD(PAINTSTRUCT, 64, 72),
        ZOBU_RECORD(BITMAP, 24, 32),
        ZOBU_RECORD(CREATESTRUCTA, 48, 80),
        ZOBU_RECORD(WINDOWPOS, 28, 40),
        ZOBU_RECORD(RGNDATAHEADER, 32, 32),
    };
#undef ZOBU_RECORD
    for (const Row& row : rows) {
        EXPECT_EQ(row.size, k64 ? row.win64 : row.win32) << row.name;
    }
}
