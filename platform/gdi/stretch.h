// Zobu 4 platform floor: how GDI maps source pixels to destination pixels when it scales.
//
// Enlarging, each destination pixel takes the source pixel under its centre, and a centre
// that falls exactly on the boundary between two source pixels takes the earlier one: 3
// columns to 7 give 0, 0, 1, 1, 1, 2, 2 and 2 rows to 5 give 0, 0, 0, 1, 1, as Windows gives
// them. Shrinking, each destination pixel stands for a span of source pixels, and the
// stretch mode says how the span combines: BLACKONWHITE (the default of every DC) ANDs the
// dropped pixels into the kept one, so dark lines survive; WHITEONBLACK ORs them;
// COLORONCOLOR and HALFTONE keep the pixel under the centre, by the same rule.
#pragma once

#include <windows.h>

#include <stdint.h>

struct Span {
    int32_t first = 0; // source index
    int32_t count = 1; // how many source pixels combine into this destination pixel
};

inline Span SpanFor(int32_t dest_index, int32_t source_size, int32_t dest_size, int mode) {
    const int64_t s = source_size, d = dest_size, i = dest_index;
    // The centre lies at (2i + 1) s / 2d source pixels; the pixel that holds it, with a
    // boundary counted to the pixel before, is that value rounded up, less one.
    const int32_t centre = static_cast<int32_t>(((2 * i + 1) * s - 1) / (2 * d));
    if (d >= s || mode == COLORONCOLOR || mode == HALFTONE) {
        return {centre, 1};
    }
    const int32_t first = static_cast<int32_t>(i * s / d);
    const int32_t end = static_cast<int32_t>((i + 1) * s / d);
    return {first, end - first};
}

// Calls write(dx, dy, colour) for every destination pixel of a dest_w x dest_h picture made
// from read(sx, sy) of a source_w x source_h one. read gives a COLORREF, or CLR_INVALID
// for a pixel that does not exist, which leaves the destination pixel alone.
template <typename Read, typename Write>
void StretchColors(int32_t source_w, int32_t source_h, int32_t dest_w, int32_t dest_h, int mode,
                   Read read, Write write) {
    for (int32_t dy = 0; dy < dest_h; ++dy) {
        const Span ys = SpanFor(dy, source_h, dest_h, mode);
        for (int32_t dx = 0; dx < dest_w; ++dx) {
            const Span xs = SpanFor(dx, source_w, dest_w, mode);
            COLORREF combined = mode == WHITEONBLACK ? 0 : 0x00FFFFFF;
            bool any = false;
            for (int32_t y = ys.first; y < ys.first + ys.count; ++y) {
                for (int32_t x = xs.first; x < xs.first + xs.count; ++x) {
                    const COLORREF c = read(x, y);
                    if (c == CLR_INVALID) {
                        continue;
                    }
                    combined = mode == WHITEONBLACK ? (combined | c) : (combined & c);
                    any = true;
                }
            }
            if (any) {
                write(dx, dy, combined);
            }
        }
    }
}
