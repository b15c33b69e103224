// Zobu 4 platform floor: regions.
#include "region.h"

#include <algorithm>

namespace {

// Appends the parts of `a` outside `b`: at most four rectangles, above, below, left, right.
void AppendDifference(const RECT& a, const RECT& b, std::vector<RECT>* out) {
    const RECT cut = RectIntersection(a, b);
    if (RectEmpty(cut)) {
        out->push_back(a);
        return;
    }
    if (a.top < cut.top) {
        out->push_back({a.left, a.top, a.right, cut.top});
    }
    if (cut.bottom < a.bottom) {
        out->push_back({a.left, cut.bottom, a.right, a.bottom});
    }
    if (a.left < cut.left) {
        out->push_back({a.left, cut.top, cut.left, cut.bottom});
    }
    if (cut.right < a.right) {
        out->push_back({cut.right, cut.top, a.right, cut.bottom});
    }
}

} // namespace

RECT RectIntersection(const RECT& a, const RECT& b) {
    RECT r = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    if (RectEmpty(r)) {
        r = {0, 0, 0, 0};
    }
    return r;
}

void Region::Add(const RECT& rect) {
    if (RectEmpty(rect)) {
        return;
    }
    // Only the parts of the new rectangle that no existing one covers are added.
    std::vector<RECT> pieces = {rect};
    for (const RECT& existing : rects_) {
        std::vector<RECT> next;
        for (const RECT& piece : pieces) {
            AppendDifference(piece, existing, &next);
        }
        pieces.swap(next);
        if (pieces.empty()) {
            return;
        }
    }
    rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void Region::Subtract(const RECT& rect) {
    if (RectEmpty(rect)) {
        return;
    }
    std::vector<RECT> next;
    for (const RECT& existing : rects_) {
        AppendDifference(existing, rect, &next);
    }
    rects_.swap(next);
}

void Region::Intersect(const RECT& rect) {
    std::vector<RECT> next;
    for (const RECT& existing : rects_) {
        const RECT cut = RectIntersection(existing, rect);
        if (!RectEmpty(cut)) {
            next.push_back(cut);
        }
    }
    rects_.swap(next);
}

void Region::Add(const Region& other) {
    for (const RECT& r : other.rects_) {
        Add(r);
    }
}

void Region::Subtract(const Region& other) {
    for (const RECT& r : other.rects_) {
        Subtract(r);
    }
}

void Region::Intersect(const Region& other) {
    Region result;
    for (const RECT& r : other.rects_) {
        Region part = *this;
        part.Intersect(r);
        result.rects_.insert(result.rects_.end(), part.rects_.begin(), part.rects_.end());
    }
    rects_.swap(result.rects_); // the parts come from disjoint rectangles: still disjoint
}

void Region::Offset(LONG dx, LONG dy) {
    for (RECT& r : rects_) {
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
}

bool Region::Contains(LONG x, LONG y) const {
    for (const RECT& r : rects_) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            return true;
        }
    }
    return false;
}

RECT Region::Bounds() const {
    if (rects_.empty()) {
        return {0, 0, 0, 0};
    }
    RECT b = rects_.front();
    for (const RECT& r : rects_) {
        b = {std::min(b.left, r.left), std::min(b.top, r.top), std::max(b.right, r.right),
             std::max(b.bottom, r.bottom)};
    }
    return b;
}
