// Zobu 4 platform floor: regions, as sets of non-overlapping rectangles.
//
// Used by GDI's HRGN objects, by windows' shapes and visible regions, and by DirectDraw's
// clippers. Rectangles are half-open: (left, top) inside, (right, bottom) outside.
#pragma once

#include <windows.h>

#include <vector>

class Region {
  public:
    Region() = default;
    explicit Region(const RECT& rect) { Add(rect); }

    void Add(const RECT& rect);       // union
    void Subtract(const RECT& rect);  // difference
    void Intersect(const RECT& rect); // intersection with one rectangle
    void Add(const Region& other);
    void Subtract(const Region& other);
    void Intersect(const Region& other);
    void Offset(LONG dx, LONG dy);

    bool Empty() const { return rects_.empty(); }
    bool Contains(LONG x, LONG y) const;
    RECT Bounds() const;
    const std::vector<RECT>& Rects() const { return rects_; }

  private:
    std::vector<RECT> rects_;
};

// True when the rectangle has no pixels.
inline bool RectEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// The common part of two rectangles (empty when they do not meet).
RECT RectIntersection(const RECT& a, const RECT& b);
