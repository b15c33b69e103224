// Zobu 4 platform floor: regions, and the calls of GDI on them (CreateRectRgn, CombineRgn, ...).
//
// Every operation is one sweep down both regions: the tops and bottoms of all their bands
// cut the plane into slabs; within a slab each region is a row of spans, the two rows are
// combined span by span, and the result is appended as a band, or added to the band above
// when that one touches it and holds the same spans. The result comes out canonical.
#include "region.h"

#include "gdi_private.h"
#include "objects.h"

#include <string.h>

#include <algorithm>

namespace {

enum class Op { Or, And, Diff, Xor };

struct Span {
    LONG left;
    LONG right;
    bool operator==(const Span& other) const { return left == other.left && right == other.right; }
};

bool Keep(Op op, bool in_a, bool in_b) {
    switch (op) {
    case Op::Or:
        return in_a || in_b;
    case Op::And:
        return in_a && in_b;
    case Op::Diff:
        return in_a && !in_b;
    case Op::Xor:
        return in_a != in_b;
    }
    return false;
}

// Walks a region's bands from the top down, giving the spans of the band that covers a row.
class BandCursor {
  public:
    explicit BandCursor(const std::vector<RECT>& rects) : rects_(rects) {}

    // The spans at row y; rows must be asked for from the top down.
    const std::vector<Span>& SpansAt(LONG y) {
        while (next_ < rects_.size() && rects_[next_].bottom <= y) {
            ++next_;
        }
        spans_.clear();
        if (next_ < rects_.size() && rects_[next_].top <= y) {
            const LONG top = rects_[next_].top;
            for (size_t i = next_; i < rects_.size() && rects_[i].top == top; ++i) {
                spans_.push_back({rects_[i].left, rects_[i].right});
            }
        }
        return spans_;
    }

  private:
    const std::vector<RECT>& rects_;
    size_t next_ = 0; // the first rectangle that may still cover a row asked for
    std::vector<Span> spans_;
};

// Combines two rows of sorted, separate spans; touching pieces of the result join.
// Every edge of both lists, each once, in order: the cuts a sweep stops at. `near` and
// `far` pick an item's two edges along the sweep.
template <typename Item, typename Near, typename Far>
void Edges(const std::vector<Item>& a, const std::vector<Item>& b, Near near, Far far,
           std::vector<LONG>* edges) {
    edges->clear();
    for (const std::vector<Item>* items : {&a, &b}) {
        for (const Item& item : *items) {
            edges->push_back(near(item));
            edges->push_back(far(item));
        }
    }
    std::sort(edges->begin(), edges->end());
    edges->erase(std::unique(edges->begin(), edges->end()), edges->end());
}

void CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, Op op,
                  std::vector<Span>* out) {
    static std::vector<LONG> xs;
    Edges(
        a, b, [](const Span& s) { return s.left; }, [](const Span& s) { return s.right; }, &xs);
    out->clear();
    size_t i = 0, j = 0;
    for (size_t k = 0; k + 1 < xs.size(); ++k) {
        const LONG x0 = xs[k], x1 = xs[k + 1];
        while (i < a.size() && a[i].right <= x0) {
            ++i;
        }
        while (j < b.size() && b[j].right <= x0) {
            ++j;
        }
        const bool in_a = i < a.size() && a[i].left <= x0;
        const bool in_b = j < b.size() && b[j].left <= x0;
        if (!Keep(op, in_a, in_b)) {
            continue;
        }
        if (!out->empty() && out->back().right == x0) {
            out->back().right = x1;
        } else {
            out->push_back({x0, x1});
        }
    }
}

std::vector<RECT> Combine(const std::vector<RECT>& a, const std::vector<RECT>& b, Op op) {
    // Every present combines a few regions; their scratch space is kept from call to call
    // (the program has one thread, and no combination runs inside another).
    static std::vector<LONG> ys;
    Edges(
        a, b, [](const RECT& r) { return r.top; }, [](const RECT& r) { return r.bottom; }, &ys);

    std::vector<RECT> out;
    size_t last_band = 0; // where the last band of `out` starts
    static std::vector<Span> spans, last_spans;
    spans.clear();
    last_spans.clear();
    BandCursor in_a(a), in_b(b);
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        const LONG y0 = ys[k], y1 = ys[k + 1];
        CombineSpans(in_a.SpansAt(y0), in_b.SpansAt(y0), op, &spans);
        if (spans.empty()) {
            continue;
        }
        if (!out.empty() && out.back().bottom == y0 && spans == last_spans) {
            for (size_t i = last_band; i < out.size(); ++i) {
                out[i].bottom = y1;
            }
            continue;
        }
        last_band = out.size();
        for (const Span& s : spans) {
            out.push_back({s.left, y0, s.right, y1});
        }
        last_spans.swap(spans);
    }
    return out;
}

std::vector<RECT> Of(const RECT& rect) {
    if (RectEmpty(rect)) {
        return {};
    }
    return {rect};
}

// Whether `outer` holds all of `inner`.
bool Holds(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
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
    if (rects_.empty()) {
        rects_ = Of(rect); // the common start: a region of one rectangle
        return;
    }
    rects_ = Combine(rects_, Of(rect), Op::Or);
}

void Region::Subtract(const RECT& rect) {
    rects_ = Combine(rects_, Of(rect), Op::Diff);
}

void Region::Intersect(const RECT& rect) {
    if (rects_.empty() || Holds(rect, Bounds())) {
        return; // nothing is cut: the common case of a region within the screen
    }
    rects_ = Combine(rects_, Of(rect), Op::And);
}

void Region::Add(const Region& other) {
    rects_ = Combine(rects_, other.rects_, Op::Or);
}

void Region::Subtract(const Region& other) {
    rects_ = Combine(rects_, other.rects_, Op::Diff);
}

void Region::Intersect(const Region& other) {
    rects_ = Combine(rects_, other.rects_, Op::And);
}

void Region::Xor(const Region& other) {
    rects_ = Combine(rects_, other.rects_, Op::Xor);
}

void Region::Offset(LONG dx, LONG dy) {
    for (RECT& r : rects_) {
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
}

bool Region::Contains(LONG x, LONG y) const {
    for (const RECT& r : rects_) {
        if (r.top > y) {
            break; // bands are in order: none further down holds the row
        }
        if (x >= r.left && x < r.right && y < r.bottom) {
            return true;
        }
    }
    return false;
}

RECT Region::Bounds() const {
    if (rects_.empty()) {
        return {0, 0, 0, 0};
    }
    RECT b = {rects_.front().left, rects_.front().top, rects_.front().right, rects_.back().bottom};
    for (const RECT& r : rects_) {
        b.left = std::min(b.left, r.left);
        b.right = std::max(b.right, r.right);
    }
    return b;
}

bool Region::operator==(const Region& other) const {
    return std::equal(rects_.begin(), rects_.end(), other.rects_.begin(), other.rects_.end(),
                      [](const RECT& a, const RECT& b) {
                          return a.left == b.left && a.top == b.top && a.right == b.right &&
                                 a.bottom == b.bottom;
                      });
}

// --- the region calls of GDI, on regions behind handles ---

namespace {

int RegionKind(const Region& region) {
    return region.Empty() ? NULLREGION : region.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

GdiRegion* RegionFromHandle(HRGN handle) {
    GdiObject* o = ObjectFromHandle(handle);
    return (o && o->kind == GdiKind::Region) ? static_cast<GdiRegion*>(o) : nullptr;
}

} // namespace

bool GdiTakeRegion(HRGN handle, Region* out) {
    GdiRegion* region = RegionFromHandle(handle);
    if (!region) {
        return false;
    }
    *out = region->region;
    DeleteObject(handle);
    return true;
}

HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom) {
    auto region = std::make_unique<GdiRegion>();
    // Windows orders the corners itself.
    region->region.Add({std::min(left, right), std::min(top, bottom), std::max(left, right),
                        std::max(top, bottom)});
    return static_cast<HRGN>(AddObject(std::move(region)));
}

int WINAPI CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode) {
    GdiRegion* d = RegionFromHandle(dest);
    const GdiRegion* a = RegionFromHandle(source1);
    const GdiRegion* b = RegionFromHandle(source2);
    if (!d || !a || (mode != RGN_COPY && !b)) {
        return ERROR;
    }
    Region result = a->region;
    switch (mode) {
    case RGN_AND:
        result.Intersect(b->region);
        break;
    case RGN_OR:
        result.Add(b->region);
        break;
    case RGN_XOR:
        result.Xor(b->region);
        break;
    case RGN_DIFF:
        result.Subtract(b->region);
        break;
    case RGN_COPY:
        break;
    default:
        return ERROR;
    }
    d->region = std::move(result);
    return RegionKind(d->region);
}

int WINAPI GetRgnBox(HRGN handle, LPRECT rect) {
    const GdiRegion* region = RegionFromHandle(handle);
    if (!region || !rect) {
        return ERROR;
    }
    *rect = region->region.Bounds();
    return RegionKind(region->region);
}

DWORD WINAPI GetRegionData(HRGN handle, DWORD size, LPRGNDATA data) {
    const GdiRegion* region = RegionFromHandle(handle);
    if (!region) {
        return 0;
    }
    const std::vector<RECT>& rects = region->region.Rects();
    const DWORD rect_bytes = static_cast<DWORD>(rects.size() * sizeof(RECT));
    const DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER)) + rect_bytes;
    if (!data) {
        return needed;
    }
    if (size < needed) {
        return 0;
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = rect_bytes;
    data->rdh.rcBound = region->region.Bounds();
    if (!rects.empty()) {
        memcpy(data->Buffer, rects.data(), rect_bytes);
    }
    return size;
}

BOOL WINAPI PtInRegion(HRGN handle, int x, int y) {
    const GdiRegion* region = RegionFromHandle(handle);
    return region && region->region.Contains(x, y);
}
