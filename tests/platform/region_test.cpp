// Conformance: regions, in the form Windows keeps and reports them. Only GDI's own calls: the
// same tests run against Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdint.h>

#include <tuple>
#include <vector>

namespace {

std::tuple<LONG, LONG, LONG, LONG> Box(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Regions keep Windows' canonical form, so a result that is one rectangle is reported as
// one, however it was made.
TEST(Regions, CombineRgn_ReportsTheKindOfTheResult) {
    using Row = std::tuple<const char*, RECT, RECT, int, int>;
    static const Row rows[] = {
        {"side by side, OR", {0, 0, 10, 10}, {10, 0, 20, 10}, RGN_OR, SIMPLEREGION},
        {"stacked, OR", {0, 0, 10, 10}, {0, 10, 10, 20}, RGN_OR, SIMPLEREGION},
        {"overlapping, OR", {0, 0, 10, 10}, {5, 5, 15, 15}, RGN_OR, COMPLEXREGION},
        {"disjoint, OR", {0, 0, 10, 10}, {20, 0, 30, 10}, RGN_OR, COMPLEXREGION},
        {"one inside the other, OR", {0, 0, 30, 30}, {10, 10, 20, 20}, RGN_OR, SIMPLEREGION},
        {"empties, OR", {0, 0, 0, 0}, {5, 5, 5, 9}, RGN_OR, NULLREGION},
        {"a hole cut", {0, 0, 30, 30}, {10, 10, 20, 20}, RGN_DIFF, COMPLEXREGION},
        {"a side cut off", {0, 0, 30, 30}, {20, 0, 30, 30}, RGN_DIFF, SIMPLEREGION},
        {"disjoint, AND", {0, 0, 10, 10}, {20, 0, 30, 10}, RGN_AND, NULLREGION},
        {"overlapping, AND", {0, 0, 10, 10}, {5, 5, 15, 15}, RGN_AND, SIMPLEREGION},
        {"the same, XOR", {0, 0, 10, 10}, {0, 0, 10, 10}, RGN_XOR, NULLREGION},
        {"side by side, XOR", {0, 0, 10, 10}, {10, 0, 20, 10}, RGN_XOR, SIMPLEREGION},
        {"overlapping, XOR", {0, 0, 10, 10}, {5, 5, 15, 15}, RGN_XOR, COMPLEXREGION},
        {"copy", {0, 0, 10, 10}, {0, 0, 0, 0}, RGN_COPY, SIMPLEREGION},
    };
    for (const auto& [name, first, second, mode, kind] : rows) {
        SCOPED_TRACE(name);
        HRGN a = CreateRectRgn(first.left, first.top, first.right, first.bottom);
        HRGN b = CreateRectRgn(second.left, second.top, second.right, second.bottom);
        HRGN result = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(result, a, b, mode), kind);
        DeleteObject(a), DeleteObject(b), DeleteObject(result);
    }
    // A gap filled in: three side-by-side pieces made one at a time.
    HRGN strip = CreateRectRgn(0, 0, 10, 10);
    HRGN piece = CreateRectRgn(20, 0, 30, 10);
    EXPECT_EQ(CombineRgn(strip, strip, piece, RGN_OR), COMPLEXREGION);
    DeleteObject(piece);
    piece = CreateRectRgn(10, 0, 20, 10);
    EXPECT_EQ(CombineRgn(strip, strip, piece, RGN_OR), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(strip, 29, 9));
    EXPECT_FALSE(PtInRegion(strip, 30, 0));
    DeleteObject(piece);
    DeleteObject(strip);
}

// Regions read back as Windows writes them: a header, then the rectangles band by band, top
// to bottom, each band's left to right, within their bounding box; a buffer too small gets
// nothing. Mistakes are ERROR.
TEST(Regions, GetRegionData_BandByBand_MistakesAreErrors) {
    HRGN shape = CreateRectRgn(0, 0, 10, 10);
    HRGN ear = CreateRectRgn(20, 0, 30, 5);
    CombineRgn(shape, shape, ear, RGN_OR);
    DeleteObject(ear);
    const DWORD size = GetRegionData(shape, 0, nullptr);
    ASSERT_EQ(size, sizeof(RGNDATAHEADER) + 3 * sizeof(RECT));
    std::vector<uint8_t> bytes(size);
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    EXPECT_EQ(GetRegionData(shape, size - 1, data), 0u) << "too small a buffer";
    ASSERT_EQ(GetRegionData(shape, size, data), size);
    EXPECT_EQ(data->rdh.dwSize, sizeof(RGNDATAHEADER));
    EXPECT_EQ(data->rdh.iType, static_cast<DWORD>(RDH_RECTANGLES));
    EXPECT_EQ(data->rdh.nCount, 3u);
    EXPECT_EQ(data->rdh.nRgnSize, 3 * sizeof(RECT));
    EXPECT_EQ(Box(data->rdh.rcBound), Box({0, 0, 30, 10}));
    const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
    EXPECT_EQ(Box(rects[0]), Box({0, 0, 10, 5}));
    EXPECT_EQ(Box(rects[1]), Box({20, 0, 30, 5}));
    EXPECT_EQ(Box(rects[2]), Box({0, 5, 10, 10}));
    RECT box = {};
    EXPECT_EQ(GetRgnBox(shape, &box), COMPLEXREGION);
    EXPECT_EQ(Box(box), Box({0, 0, 30, 10}));
    DeleteObject(shape);
    EXPECT_EQ(GetRgnBox(shape, &box), ERROR) << "no longer a region";

    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(result, a, a, 99), ERROR) << "no such mode";
    EXPECT_EQ(CombineRgn(result, a, nullptr, RGN_OR), ERROR) << "no second region";
    EXPECT_EQ(CombineRgn(result, a, nullptr, RGN_COPY), SIMPLEREGION) << "COPY needs none";
    DeleteObject(a);
    DeleteObject(result);
}

} // namespace
