// Zobu 4 platform floor: blits and single pixels.
#include "objects.h"
#include "stretch.h"

#include <string.h>

namespace {

// A 0x00RRGGBB pixel in 5:6:5, as RawFromColor would make it, for loops over whole rows.
uint16_t Rgb565FromXrgb(uint32_t v) {
    return static_cast<uint16_t>(((v >> 8) & 0xF800) | ((v >> 5) & 0x07E0) | ((v >> 3) & 0x1F));
}

} // namespace

void CopyPixelRow(const PixelBuffer& to, int32_t x, int32_t y, const PixelBuffer& from, int32_t fx,
                  int32_t fy, int32_t count) {
    if (to.format == from.format) {
        const int bpp = BytesPerPixel(to.format);
        memmove(to.Row(y) + static_cast<ptrdiff_t>(x) * bpp,
                from.Row(fy) + static_cast<ptrdiff_t>(fx) * bpp, static_cast<size_t>(count) * bpp);
    } else if (from.format == PixelFormat::Xrgb8888 && to.format == PixelFormat::Rgb565) {
        const auto* source = reinterpret_cast<const uint32_t*>(from.Row(fy)) + fx;
        auto* dest = reinterpret_cast<uint16_t*>(to.Row(y)) + x;
        for (int32_t i = 0; i < count; ++i) {
            dest[i] = Rgb565FromXrgb(source[i]);
        }
    } else {
        for (int32_t i = 0; i < count; ++i) {
            to.Write(x + i, y,
                     RawFromColor(to.format, ColorFromRaw(from.format, from.Read(fx + i, fy))));
        }
    }
}

namespace {

// A pixel of the target at the DC's logical (x, y), or false when it is outside what the
// DC may touch.
bool TargetPixel(const DrawTarget& t, int32_t x, int32_t y, int32_t* px, int32_t* py) {
    *px = x + t.origin.x;
    *py = y + t.origin.y;
    return t.pixels.Contains(*px, *py) && t.clip.Contains(*px, *py);
}

// Makes an extent positive, moving its start so that it names the same pixels: x 3 with
// width -3 covers columns 0 to 2. Returns whether the extent was negative.
bool Normalise(int* start, int* extent) {
    if (*extent >= 0) {
        return false;
    }
    *start += *extent;
    *extent = -*extent;
    return true;
}

bool CopyOrStretch(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY,
                   int srcWidth, int srcHeight, DWORD rop) {
    DrawTarget to, from;
    const DeviceContext* dc = DcFromHandle(dest);
    if (rop != SRCCOPY || !ResolveTarget(dest, &to) || !ResolveTarget(source, &from) ||
        width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) {
        return false;
    }
    // Extents of different signs mirror the picture along that axis.
    const bool mirror_x = Normalise(&x, &width) != Normalise(&srcX, &srcWidth);
    const bool mirror_y = Normalise(&y, &height) != Normalise(&srcY, &srcHeight);
    if (width == srcWidth && height == srcHeight && !mirror_x && !mirror_y) {
        // The common case, a copy without stretching: row by row, raw runs where the
        // formats agree, converted pixel by pixel where they do not (a bitmap file's colours
        // into the display's format, at every start-up). Work in the target's pixels:
        // (dx0, dy0) is where the copy starts, (sx0, sy0) its source.
        const int32_t dx0 = x + to.origin.x, dy0 = y + to.origin.y;
        const int32_t sx0 = srcX + from.origin.x, sy0 = srcY + from.origin.y;
        Region area(RECT{dx0, dy0, dx0 + width, dy0 + height});
        area.Intersect(RECT{dx0 - sx0, dy0 - sy0, dx0 - sx0 + from.pixels.width,
                            dy0 - sy0 + from.pixels.height}); // where the source has pixels
        area.Intersect(RECT{0, 0, to.pixels.width, to.pixels.height});
        area.Intersect(to.clip);
        // Within one bitmap, rows that move down are copied from the bottom up.
        const bool upwards = to.pixels.bits == from.pixels.bits && dy0 > sy0;
        for (const RECT& r : area.Rects()) {
            for (int32_t i = 0; i < r.bottom - r.top; ++i) {
                const int32_t py = upwards ? r.bottom - 1 - i : r.top + i;
                CopyPixelRow(to.pixels, r.left, py, from.pixels, r.left - dx0 + sx0, py - dy0 + sy0,
                             r.right - r.left);
            }
        }
    } else {
        const int mode = dc->stretch_mode;
        StretchColors(
            srcWidth, srcHeight, width, height, mode,
            [&](int32_t sx, int32_t sy) -> COLORREF {
                sx = mirror_x ? srcWidth - 1 - sx : sx;
                sy = mirror_y ? srcHeight - 1 - sy : sy;
                int32_t px, py;
                if (!TargetPixel(from, srcX + sx, srcY + sy, &px, &py)) {
                    return CLR_INVALID;
                }
                return ColorFromRaw(from.pixels.format, from.pixels.Read(px, py));
            },
            [&](int32_t dx, int32_t dy, COLORREF color) {
                int32_t px, py;
                if (TargetPixel(to, x + dx, y + dy, &px, &py)) {
                    to.pixels.Write(px, py, RawFromColor(to.pixels.format, color));
                }
            });
    }
    if (to.on_screen) {
        DisplayChanged();
    }
    return true;
}

} // namespace

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY,
                   DWORD rop) {
    return CopyOrStretch(dest, x, y, width, height, source, srcX, srcY, width, height, rop);
}

BOOL WINAPI StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX,
                       int srcY, int srcWidth, int srcHeight, DWORD rop) {
    return CopyOrStretch(dest, x, y, width, height, source, srcX, srcY, srcWidth, srcHeight, rop);
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
    DrawTarget t;
    int32_t px, py;
    if (!ResolveTarget(dc, &t) || !TargetPixel(t, x, y, &px, &py) ||
        t.pixels.format == PixelFormat::FourCC16) {
        return CLR_INVALID;
    }
    return ColorFromRaw(t.pixels.format, t.pixels.Read(px, py));
}

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color) {
    DrawTarget t;
    int32_t px, py;
    if (!ResolveTarget(dc, &t) || !TargetPixel(t, x, y, &px, &py) ||
        t.pixels.format == PixelFormat::FourCC16) {
        return CLR_INVALID;
    }
    const uint32_t raw = RawFromColor(t.pixels.format, color);
    t.pixels.Write(px, py, raw);
    if (t.on_screen) {
        DisplayChanged();
    }
    // The colour actually set: the nearest the format can hold.
    return ColorFromRaw(t.pixels.format, raw);
}

namespace {

// Rewrites each pixel of a rectangle in the DC's coordinates, within what the DC may touch:
// `make(format)` gives, once, the function from a pixel's raw value to its new one.
template <typename Make> bool RewriteRect(HDC dc, const RECT& rect, Make make) {
    DrawTarget t;
    if (!ResolveTarget(dc, &t) || t.pixels.format == PixelFormat::FourCC16) {
        return false;
    }
    Region area(RECT{rect.left + t.origin.x, rect.top + t.origin.y, rect.right + t.origin.x,
                     rect.bottom + t.origin.y});
    area.Intersect(t.clip);
    area.Intersect(RECT{0, 0, t.pixels.width, t.pixels.height});
    const auto rewrite = make(t.pixels.format);
    for (const RECT& r : area.Rects()) {
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x) {
                t.pixels.Write(x, y, rewrite(t.pixels.Read(x, y)));
            }
        }
    }
    if (t.on_screen && !area.Empty()) {
        DisplayChanged();
    }
    return true;
}

} // namespace

bool GdiFillRect(HDC dc, const RECT& rect, COLORREF color) {
    return RewriteRect(dc, rect, [color](PixelFormat format) {
        const uint32_t raw = RawFromColor(format, color);
        return [raw](uint32_t) { return raw; };
    });
}

bool GdiInvertRect(HDC dc, const RECT& rect) {
    return RewriteRect(dc, rect, [](PixelFormat format) {
        const uint32_t all = format == PixelFormat::Xrgb8888 ? 0x00FFFFFFu : 0xFFFFu;
        return [all](uint32_t raw) { return raw ^ all; };
    });
}
