// Zobu 4 platform floor: regions, in Windows' canonical form.
//
// Used by GDI's HRGN objects, by windows' shapes and visible regions, and by DirectDraw's
// clippers. Rectangles are half-open: (left, top) inside, (right, bottom) outside.
//
// A region is a list of y-x bands, as Windows keeps it: rectangles sorted top to bottom,
// then left to right; the rectangles of one band share their top and bottom; within a
// band, rectangles neither overlap nor touch (touching ones are one rectangle); and two
// bands that touch never hold the same spans (they would be one band). Every region has
// exactly one such form, so a region that is one rectangle is held as one, however it was
// made, and CombineRgn can tell SIMPLEREGION from COMPLEXREGION by counting.
#pragma once

#include <windows.h>

#include <vector>

class Region {
  public:
    Region() = default;
    explicit Region(const RECT& rect) { Add(rect); }

    void Add(const RECT& rect);       // union
    void Subtract(const RECT& rect);  // difference
    void Intersect(const RECT& rect); // intersection
    void Add(const Region& other);
    void Subtract(const Region& other);
    void Intersect(const Region& other);
    void Xor(const Region& other); // what lies in exactly one of the two
    void Offset(LONG dx, LONG dy);

    bool Empty() const { return rects_.empty(); }
    bool Contains(LONG x, LONG y) const;
    RECT Bounds() const;
    // The rectangles, in band order.
    const std::vector<RECT>& Rects() const { return rects_; }

    bool operator==(const Region& other) const;

  private:
    std::vector<RECT> rects_;
};

// True when the rectangle has no pixels.
inline bool RectEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// The common part of two rectangles (empty when they do not meet).
RECT RectIntersection(const RECT& a, const RECT& b);
