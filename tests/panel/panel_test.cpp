// The score panel's shape: the region cut from its skin. How the panel opens and closes with
// the game is the shell's to test.
#include "support/platform_fixture.h"

#include "panel/score_panel.h"

#include <tuple>

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// The rectangles of a region, in Windows' band order.
std::vector<RECT> RectsOf(HRGN region) {
    std::vector<uint8_t> bytes(GetRegionData(region, 0, nullptr));
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    if (bytes.empty() || GetRegionData(region, static_cast<DWORD>(bytes.size()), data) == 0) {
        return {};
    }
    const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
    return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

using RegionFromBitmapTest = PlatformTest;

// Each row: a picture given as text ('.' the top-left pixel's colour, '#' another), the
// width to scan, and the region expected.
TEST_F(RegionFromBitmapTest, RunsOfEachRow) {
    using Row = std::tuple<const char*, std::vector<std::string>, int, int, std::vector<RECT>>;
    const Row rows[] = {
        {"all like the top-left pixel", {"....", "...."}, 4, 2, {}},
        {"height 0", {".##."}, 4, 0, {}},
        {"a run to the last column", {"..##"}, 4, 1, {{2, 0, 4, 1}}},
        {"two runs split by one pixel", {".#.#"}, 4, 1, {{1, 0, 2, 1}, {3, 0, 4, 1}}},
        {"equal rows join", {".##.", ".##."}, 4, 2, {{1, 0, 3, 2}}},
        {"past the bitmap counts as opaque", {".#.."}, 6, 1, {{1, 0, 2, 1}, {4, 0, 6, 1}}},
    };
    for (const auto& [name, picture, width, height, expected] : rows) {
        SCOPED_TRACE(name);
        MemoryBitmap memory(static_cast<int>(picture[0].size()), static_cast<int>(picture.size()));
        for (size_t y = 0; y < picture.size(); ++y) {
            for (size_t x = 0; x < picture[y].size(); ++x) {
                SetPixel(memory.dc, static_cast<int>(x), static_cast<int>(y),
                         picture[y][x] == '#' ? RGB(200, 120, 40) : kMagenta);
            }
        }
        HRGN region = RegionFromBitmap(memory.dc, width, height);
        if (expected.empty()) {
            EXPECT_EQ(region, nullptr);
            continue;
        }
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(RectsOf(region), expected);
        DeleteObject(region);
    }
}

} // namespace
