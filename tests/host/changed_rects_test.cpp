// What a host sends of a picture: every changed pixel covered, by a few rectangles that
// neither overlap nor come close, each no bigger than what it covers needs.
#include "host/changed_rects.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

// Rectangles compare and print as values (found by argument lookup: global, as the type).
bool operator==(const ChangedRect& a, const ChangedRect& b) {
    return std::tie(a.x, a.y, a.width, a.height) == std::tie(b.x, b.y, b.width, b.height);
}

void PrintTo(const ChangedRect& r, std::ostream* out) {
    *out << "{" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << "}";
}

namespace {

constexpr int kWidth = 640, kHeight = 480;

// A picture `now` with rows of padding past its width, and the `shown` copy it is compared
// with; both start black.
struct Pictures {
    static constexpr int kPitch = kWidth + 8;
    std::vector<uint16_t> now = std::vector<uint16_t>(kPitch * kHeight, 0);
    std::vector<uint16_t> shown = std::vector<uint16_t>(kWidth * kHeight, 0);

    void Paint(int x, int y, int width, int height, uint16_t value = 0xFFFF) {
        for (int row = y; row < y + height; ++row) {
            for (int col = x; col < x + width; ++col) {
                now[row * kPitch + col] = value;
            }
        }
    }

    // Takes the rectangles, and checks what any answer must hold: each rectangle inside
    // the picture, none overlapping another, every changed pixel inside one, and `shown`
    // the picture afterwards.
    std::vector<ChangedRect> Take() {
        std::vector<bool> changed(kWidth * kHeight);
        for (int i = 0; i < kWidth * kHeight; ++i) {
            changed[i] = now[(i / kWidth) * kPitch + i % kWidth] != shown[i];
        }
        const std::vector<ChangedRect> rects =
            TakeChangedRects(now.data(), kPitch * 2, shown.data(), kWidth, kHeight, nullptr);
        std::vector<int> covers(kWidth * kHeight, 0);
        for (const ChangedRect& r : rects) {
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 &&
                        r.x + r.width <= kWidth && r.y + r.height <= kHeight);
            for (int y = r.y; y < r.y + r.height; ++y) {
                for (int x = r.x; x < r.x + r.width; ++x) {
                    ++covers[y * kWidth + x];
                }
            }
        }
        for (int i = 0; i < kWidth * kHeight; ++i) {
            EXPECT_LE(covers[i], 1) << "overlap at " << i % kWidth << ", " << i / kWidth;
            if (changed[i]) {
                EXPECT_EQ(covers[i], 1) << "uncovered at " << i % kWidth << ", " << i / kWidth;
            }
            EXPECT_EQ(shown[i], now[(i / kWidth) * kPitch + i % kWidth]);
        }
        return rects;
    }
};

// A picture as the game's idle screen changes it: the caret at the top, the falling item
// and the Pot below. Each gets its own rectangle, exactly its size; and a picture with no
// change gets none.
TEST(ChangedRects, ApartChanges_EachItsOwnExactRectangle) {
    Pictures p;
    EXPECT_TRUE(p.Take().empty());
    p.Paint(81, 21, 1, 13);    // the caret
    p.Paint(300, 245, 32, 40); // the item
    p.Paint(100, 416, 64, 64); // the Pot, to the bottom row
    p.Paint(639, 0, 1, 1);     // the last pixel of the first row
    EXPECT_EQ(p.Take(),
              (std::vector<ChangedRect>{
                  {639, 0, 1, 1}, {81, 21, 1, 13}, {300, 245, 32, 40}, {100, 416, 64, 64}}));
    EXPECT_TRUE(p.Take().empty()) << "what was taken is shown";
    // The same places again, back to black.
    p.Paint(100, 416, 64, 64, 0);
    EXPECT_EQ(p.Take(), (std::vector<ChangedRect>{{100, 416, 64, 64}}));
    // Rows the caller does not mark are not even read.
    p.Paint(10, 10, 2, 2, 7);
    p.Paint(10, 300, 2, 2, 7);
    std::vector<uint8_t> rows(kHeight, 0);
    rows[10] = rows[11] = 1;
    EXPECT_EQ(TakeChangedRects(p.now.data(), Pictures::kPitch * 2, p.shown.data(), kWidth, kHeight,
                               rows.data()),
              (std::vector<ChangedRect>{{10, 10, 2, 2}}));
    EXPECT_EQ(p.shown[300 * kWidth + 10], 0);
}

// Changes closer than 16 pixels, across or down, share a rectangle; 16 apart, they do not,
// whichever comes first. Shapes that join below, an L and a U, are one rectangle.
TEST(ChangedRects, NearChangesMerge_FarOnesDoNot) {
    using Row = std::tuple<const char*, int, int, size_t>; // the second box's corner
    const Row rows[] = {
        {"15 across", 225, 200, 1},
        {"16 across", 226, 200, 2},
        {"16 to the left, lower", 174, 205, 2},
        {"15 to the left, lower", 175, 205, 1},
        {"15 down", 200, 225, 1},
        {"16 down", 200, 226, 2},
    };
    for (const auto& [name, x, y, expected] : rows) {
        Pictures p;
        p.Paint(200, 200, 10, 10);
        p.Paint(x, y, 10, 10);
        EXPECT_EQ(p.Take().size(), expected) << name;
    }
    Pictures l_shape;
    l_shape.Paint(10, 10, 4, 100);
    l_shape.Paint(10, 106, 100, 4);
    EXPECT_EQ(l_shape.Take(), (std::vector<ChangedRect>{{10, 10, 100, 100}}));
    Pictures u_shape;
    u_shape.Paint(10, 10, 4, 100);
    u_shape.Paint(106, 10, 4, 100);
    u_shape.Paint(10, 110, 100, 4);
    EXPECT_EQ(u_shape.Take(), (std::vector<ChangedRect>{{10, 10, 100, 104}}));
}

// However scattered the changes, a picture takes at most eight rectangles, the cheapest
// merge made first; a change of the whole picture takes one.
TEST(ChangedRects, ScatteredChanges_AtMostEightRectangles_CheapestMergeFirst) {
    Pictures p;
    for (int i = 0; i < 8; ++i) {
        p.Paint(50 + (i % 4) * 150, 50 + (i / 4) * 150, 2, 2);
    }
    p.Paint(70, 50, 2, 2); // 18 pixels right of the first: not near, but the cheapest merge
    const std::vector<ChangedRect> rects = p.Take();
    EXPECT_EQ(rects.size(), 8u);
    EXPECT_EQ(rects.front(), (ChangedRect{50, 50, 22, 2}));
    Pictures everything;
    everything.Paint(0, 0, kWidth, kHeight);
    EXPECT_EQ(everything.Take(), (std::vector<ChangedRect>{{0, 0, kWidth, kHeight}}));
}

} // namespace
