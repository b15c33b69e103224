// Zobu 4 platform floor: Blt and BltFast.
//
// Blt copies a rectangle onto a rectangle, stretching as needed (each destination pixel
// takes the source pixel at floor(i * source / dest): 3 columns to 7 give 0, 0, 0, 1, 1, 2,
// 2), or fills one with a raw pixel value, and keeps to the clipper's region if the surface
// has one. BltFast copies a rectangle to a position without stretching and never clips:
// what does not fit is refused with DDERR_INVALIDRECT, and a surface with a clipper
// refuses it with DDERR_BLTFASTCANTCLIP. Both leave the destination's pixels alone where
// the source holds its colour key, when asked to. Neither converts between pixel formats.
#include "ddraw_private.h"
#include "keyed_copy.h"
#include "../host/same_bytes.h"

#include <string.h>

#include <algorithm>
#include <vector>

namespace {

bool Inside(const RECT& r, const PixelBuffer& p) {
    return !RectEmpty(r) && r.left >= 0 && r.top >= 0 && r.right <= p.width && r.bottom <= p.height;
}

// Whether a blit's area is every pixel of the surface.
bool CoversAll(const Region& area, const PixelBuffer& p) {
    const std::vector<RECT>& rects = area.Rects();
    return rects.size() == 1 && rects[0].left == 0 && rects[0].top == 0 &&
           rects[0].right == p.width && rects[0].bottom == p.height;
}

uint32_t PixelMask(PixelFormat format) {
    return BytesPerPixel(format) == 4 ? 0xFFFFFFFFu : 0xFFFFu;
}

// Fills `count` pixels of `bpp` bytes. A value whose bytes are all alike (black, white:
// what fills usually are) is a plain memset, which is as fast as filling memory gets.
void FillPixels(uint8_t* to, size_t count, int bpp, uint32_t value) {
    const uint8_t low = static_cast<uint8_t>(value);
    const bool uniform = bpp == 2 ? (value & 0xFFFF) == low * 0x0101u : value == low * 0x01010101u;
    if (uniform) {
        memset(to, low, count * bpp);
    } else if (bpp == 2) {
        std::fill_n(reinterpret_cast<uint16_t*>(to), count, static_cast<uint16_t>(value));
    } else {
        std::fill_n(reinterpret_cast<uint32_t*>(to), count, value);
    }
}

// Fills a rectangle with a raw pixel value; whole rows back to back are one block.
void FillRect(const PixelBuffer& p, const RECT& r, uint32_t value) {
    const int bpp = BytesPerPixel(p.format);
    const size_t width = static_cast<size_t>(r.right - r.left);
    if (width * bpp == static_cast<size_t>(p.pitch)) {
        FillPixels(p.Row(r.top), width * (r.bottom - r.top), bpp, value);
        return;
    }
    for (int32_t y = r.top; y < r.bottom; ++y) {
        FillPixels(p.Row(y) + static_cast<ptrdiff_t>(r.left) * bpp, width, bpp, value);
    }
}

// Copies a w x h rectangle of pixels between buffers of one format, optionally keyed.
void CopyRect(const PixelBuffer& to, int32_t tx, int32_t ty, const PixelBuffer& from, int32_t fx,
              int32_t fy, int32_t w, int32_t h, bool keyed, uint32_t key) {
    const int bpp = BytesPerPixel(to.format);
    const size_t row_bytes = static_cast<size_t>(w) * bpp;
    // Whole rows that lie back to back in both surfaces (a full-screen copy between
    // surfaces of one size) are one block.
    if (!keyed && to.bits != from.bits && row_bytes == static_cast<size_t>(to.pitch) &&
        row_bytes == static_cast<size_t>(from.pitch)) {
        memcpy(to.Row(ty), from.Row(fy), row_bytes * static_cast<size_t>(h));
        return;
    }
    // Within one surface, rows that move down are copied from the bottom up.
    const bool upwards = to.bits == from.bits && ty > fy;
    if (keyed && to.bits == from.bits && ty == fy && tx != fx) {
        // A keyed copy along its own rows reads each row before it writes it, as memmove
        // would.
        std::vector<uint8_t> source_row(row_bytes);
        for (int32_t row = 0; row < h; ++row) {
            memcpy(source_row.data(), from.Row(fy + row) + static_cast<ptrdiff_t>(fx) * bpp,
                   row_bytes);
            CopyKeyed({to.Row(ty + row) + static_cast<ptrdiff_t>(tx) * bpp, 0, source_row.data(), 0,
                       w, 1, bpp, key});
        }
    } else if (keyed) {
        const int32_t first = upwards ? h - 1 : 0;
        const ptrdiff_t step = upwards ? -1 : 1;
        CopyKeyed({to.Row(ty + first) + static_cast<ptrdiff_t>(tx) * bpp, step * to.pitch,
                   from.Row(fy + first) + static_cast<ptrdiff_t>(fx) * bpp, step * from.pitch, w, h,
                   bpp, key});
    } else {
        for (int32_t i = 0; i < h; ++i) {
            const int32_t row = upwards ? h - 1 - i : i;
            memmove(to.Row(ty + row) + static_cast<ptrdiff_t>(tx) * bpp,
                    from.Row(fy + row) + static_cast<ptrdiff_t>(fx) * bpp, row_bytes);
        }
    }
}

// Copies the rectangle `r` of `to` from `from` at (fx, fy), two different buffers of one
// format, writing only the rows that differ, and marks those in `changed`, a byte a row.
void CopyChangedRows(const PixelBuffer& to, const RECT& r, const PixelBuffer& from, int32_t fx,
                     int32_t fy, uint8_t* changed) {
    const int bpp = BytesPerPixel(to.format);
    const size_t row_bytes = static_cast<size_t>(r.right - r.left) * bpp;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        uint8_t* d = to.Row(y) + static_cast<ptrdiff_t>(r.left) * bpp;
        const uint8_t* s = from.Row(fy + (y - r.top)) + static_cast<ptrdiff_t>(fx) * bpp;
        if (!SameBytes(d, s, row_bytes)) {
            memcpy(d, s, row_bytes);
            changed[y] = 1;
        }
    }
}

} // namespace

void Surface::WritePendingFill() {
    if (pending_fill_) {
        FillRect(pixels_, RECT{0, 0, pixels_.width, pixels_.height}, *pending_fill_);
        pending_fill_.reset();
    }
}

HRESULT Surface::CheckSource(Surface* src, const RECT* sourceRect, RECT* area) const {
    if (!src) {
        return DDERR_INVALIDPARAMS;
    }
    if (src != this) {
        if (HRESULT busy = src->Busy()) {
            return busy;
        }
    }
    if (src->pixels_.format != pixels_.format) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    *area = sourceRect ? *sourceRect : RECT{0, 0, src->pixels_.width, src->pixels_.height};
    return Inside(*area, src->pixels_) ? DD_OK : DDERR_INVALIDRECT;
}

HRESULT Surface::Blt(LPRECT destRect, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD flags,
                     LPDDBLTFX fx) {
    if (HRESULT failure = InjectedFailure(DDrawCall::Blt)) {
        return failure;
    }
    if (HRESULT busy = Busy()) {
        return busy;
    }
    const RECT dest = destRect ? *destRect : RECT{0, 0, pixels_.width, pixels_.height};
    if (RectEmpty(dest) || (!clipper_ && !Inside(dest, pixels_))) {
        return DDERR_INVALIDRECT;
    }
    Region area;
    if (HRESULT clip = ClipArea(&area)) {
        return clip;
    }
    area.Intersect(dest);

    if (flags & DDBLT_COLORFILL) {
        if (!fx || fx->dwSize != sizeof(DDBLTFX)) {
            return DDERR_INVALIDPARAMS;
        }
        const uint32_t value = fx->dwFillColor & PixelMask(pixels_.format);
        if (!IsPrimary() && CoversAll(area, pixels_)) {
            // Games clear the back buffer, then cover it with the background: the fill waits
            // until something would see it.
            pending_fill_ = value;
            return DD_OK;
        }
        WritePendingFill();
        for (const RECT& r : area.Rects()) {
            FillRect(pixels_, r, value);
        }
        Presented();
        return DD_OK;
    }

    Surface* src = static_cast<Surface*>(source);
    RECT sr;
    if (HRESULT refused = CheckSource(src, sourceRect, &sr)) {
        return refused;
    }
    const PixelBuffer& from = src->pixels_;
    const bool keyed = (flags & DDBLT_KEYSRC) && src->keyed_;
    const uint32_t key = src->key_.dwColorSpaceLowValue & PixelMask(from.format);
    const int64_t dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    const int64_t sw = sr.right - sr.left, sh = sr.bottom - sr.top;
    src->WritePendingFill();
    if (!keyed && CoversAll(area, pixels_)) {
        pending_fill_.reset(); // every pixel is about to be written
    } else {
        WritePendingFill();
    }

    // A frame copied onto the screen mostly repeats the one before: only the rows that differ
    // are written, and the host is told which they were.
    const bool to_the_screen = IsPrimary() && src != this && !keyed && dw == sw && dh == sh;
    for (const RECT& r : area.Rects()) {
        if (to_the_screen) {
            CopyChangedRows(pixels_, r, from, sr.left + (r.left - dest.left),
                            sr.top + (r.top - dest.top), DisplayChangedRows());
            continue;
        }
        if (dw == sw && dh == sh) {
            CopyRect(pixels_, r.left, r.top, from, sr.left + (r.left - dest.left),
                     sr.top + (r.top - dest.top), r.right - r.left, r.bottom - r.top, keyed, key);
            continue;
        }
        for (int32_t y = r.top; y < r.bottom; ++y) {
            const int32_t sy = sr.top + static_cast<int32_t>((y - dest.top) * sh / dh);
            for (int32_t x = r.left; x < r.right; ++x) {
                const int32_t sx = sr.left + static_cast<int32_t>((x - dest.left) * sw / dw);
                const uint32_t v = from.Read(sx, sy);
                if (!keyed || v != key) {
                    pixels_.Write(x, y, v);
                }
            }
        }
    }
    Presented(to_the_screen);
    return DD_OK;
}

HRESULT Surface::BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect,
                         DWORD trans) {
    if (HRESULT failure = InjectedFailure(DDrawCall::BltFast)) {
        return failure;
    }
    if (clipper_) {
        return DDERR_BLTFASTCANTCLIP;
    }
    if (HRESULT busy = Busy()) {
        return busy;
    }
    Surface* src = static_cast<Surface*>(source);
    RECT sr;
    if (HRESULT refused = CheckSource(src, sourceRect, &sr)) {
        return refused;
    }
    const PixelBuffer& from = src->pixels_;
    const int64_t w = sr.right - sr.left, h = sr.bottom - sr.top;
    if (int64_t{x} + w > pixels_.width || int64_t{y} + h > pixels_.height) {
        return DDERR_INVALIDRECT; // BltFast never clips
    }
    src->WritePendingFill();
    WritePendingFill();
    const bool keyed = (trans & DDBLTFAST_SRCCOLORKEY) && src->keyed_;
    CopyRect(pixels_, static_cast<int32_t>(x), static_cast<int32_t>(y), from, sr.left, sr.top,
             static_cast<int32_t>(w), static_cast<int32_t>(h), keyed,
             src->key_.dwColorSpaceLowValue & PixelMask(from.format));
    Presented();
    return DD_OK;
}
