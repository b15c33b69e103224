// Zobu 4 platform floor: the changed rectangles of a picture.
#include "changed_rects.h"
#include "same_bytes.h"

#include <stddef.h>
#include <string.h>

#include <algorithm>

namespace {

// Changes closer than this (in pixels, across or down) go in one rectangle.
constexpr int kNear = 16;
// More rectangles than this are merged, the cheapest merges first, whatever the distance.
constexpr size_t kMostRects = 8;

struct Span {
    int first, end; // columns [first, end)
};

// The columns of one row that changed, as spans at least kNear apart.
void ChangedSpans(const uint16_t* now, const uint16_t* shown, int width, std::vector<Span>* spans) {
    spans->clear();
    int x = 0;
    while (x < width) {
        // Most of a changed row is not: skip it four pixels at a time.
        for (uint64_t a, b; x + 4 <= width; x += 4) {
            memcpy(&a, now + x, sizeof a);
            memcpy(&b, shown + x, sizeof b);
            if (a != b) {
                break;
            }
        }
        while (x < width && now[x] == shown[x]) {
            ++x;
        }
        if (x == width) {
            break;
        }
        int end = x + 1, same = 0;
        for (int i = end; i < width && same < kNear; ++i) {
            if (now[i] != shown[i]) {
                end = i + 1;
                same = 0;
            } else {
                ++same;
            }
        }
        spans->push_back({x, end});
        x = end + same;
    }
}

int Right(const ChangedRect& r) {
    return r.x + r.width;
}

int Bottom(const ChangedRect& r) {
    return r.y + r.height;
}

ChangedRect Union(const ChangedRect& a, const ChangedRect& b) {
    const int x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    return {x, y, std::max(Right(a), Right(b)) - x, std::max(Bottom(a), Bottom(b)) - y};
}

int64_t Area(const ChangedRect& r) {
    return int64_t{r.width} * r.height;
}

// Whether two rectangles overlap or come within kNear of each other.
bool Near(const ChangedRect& a, const ChangedRect& b) {
    return a.x < Right(b) + kNear && b.x < Right(a) + kNear && a.y < Bottom(b) + kNear &&
           b.y < Bottom(a) + kNear;
}

// What merging two rectangles adds: the pixels of their union that neither covers, counted
// as if they did not overlap (an overlap only makes the merge better).
int64_t Waste(const ChangedRect& a, const ChangedRect& b) {
    return Area(Union(a, b)) - Area(a) - Area(b);
}

// Merges near rectangles until none are near, then the cheapest pairs until few are left.
// A merge can make a rectangle near another, so each merge starts the search again; the
// lists are a handful long.
void Merge(std::vector<ChangedRect>* rects) {
    for (;;) {
        size_t best_a = 0, best_b = 0;
        int64_t best_waste = INT64_MAX;
        bool near = false;
        for (size_t a = 0; a < rects->size() && !near; ++a) {
            for (size_t b = a + 1; b < rects->size(); ++b) {
                if (Near((*rects)[a], (*rects)[b])) {
                    best_a = a, best_b = b, near = true;
                    break;
                }
                const int64_t waste = Waste((*rects)[a], (*rects)[b]);
                if (waste < best_waste) {
                    best_a = a, best_b = b, best_waste = waste;
                }
            }
        }
        if (!near && rects->size() <= kMostRects) {
            return;
        }
        (*rects)[best_a] = Union((*rects)[best_a], (*rects)[best_b]);
        rects->erase(rects->begin() + static_cast<ptrdiff_t>(best_b));
    }
}

} // namespace

std::vector<ChangedRect> TakeChangedRects(const uint16_t* now, int now_pitch_bytes, uint16_t* shown,
                                          int width, int height, const uint8_t* rows) {
    std::vector<ChangedRect> rects;
    std::vector<Span> spans;
    const size_t row_bytes = static_cast<size_t>(width) * sizeof(uint16_t);
    for (int y = 0; y < height; ++y) {
        if (rows && !rows[y]) {
            continue;
        }
        const auto* row = reinterpret_cast<const uint16_t*>(
            reinterpret_cast<const uint8_t*>(now) + static_cast<ptrdiff_t>(y) * now_pitch_bytes);
        uint16_t* copy = shown + static_cast<ptrdiff_t>(y) * width;
        if (SameBytes(row, copy, row_bytes)) {
            continue;
        }
        ChangedSpans(row, copy, width, &spans);
        memcpy(copy, row, row_bytes);
        // Each span grows the rectangle it nearly touches, or starts one; Merge joins what
        // the growing brought together.
        for (const Span& span : spans) {
            const ChangedRect here = {span.first, y, span.end - span.first, 1};
            auto grown = std::find_if(rects.begin(), rects.end(),
                                      [&](const ChangedRect& r) { return Near(r, here); });
            if (grown != rects.end()) {
                *grown = Union(*grown, here);
            } else {
                rects.push_back(here);
            }
        }
    }
    Merge(&rects);
    return rects;
}

void CopyScreen(const uint16_t* screen, int pitch_bytes, uint16_t* frame) {
    for (int y = 0; y < kScreenHeight; ++y) {
        memcpy(frame + static_cast<size_t>(y) * kScreenWidth,
               reinterpret_cast<const uint8_t*>(screen) + static_cast<ptrdiff_t>(y) * pitch_bytes,
               kScreenWidth * sizeof(uint16_t));
    }
}
