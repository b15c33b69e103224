// Zobu 4 platform floor: GDI's objects and device contexts, within gdi/.
#pragma once

#include "gdi_private.h"

#include <memory>

struct FontData; // text.cpp

enum class GdiKind { Bitmap, Font, Region, Brush };

struct GdiObject {
    explicit GdiObject(GdiKind k) : kind(k) {}
    virtual ~GdiObject() = default;
    GdiKind kind;
    bool stock = false;
    HDC selected_into = nullptr; // bitmaps: the one memory DC that holds it
};

struct GdiBitmap : GdiObject {
    GdiBitmap() : GdiObject(GdiKind::Bitmap) {}
    OwnedPixels pixels;
    bool dib_section = false;
    int bits_per_pixel = 0; // what GetObjectA reports: a DIB section's own depth, else the format's
};

struct GdiFont : GdiObject {
    explicit GdiFont(const FontData* f) : GdiObject(GdiKind::Font), data(f) {}
    const FontData* data;
};

struct GdiRegion : GdiObject {
    GdiRegion() : GdiObject(GdiKind::Region) {}
    Region region;
};

struct GdiBrush : GdiObject {
    explicit GdiBrush(COLORREF c) : GdiObject(GdiKind::Brush), color(c) {}
    COLORREF color;
};

enum class DcKind { Memory, Surface, Screen };

struct DeviceContext {
    DcKind kind = DcKind::Memory;
    HBITMAP bitmap = nullptr; // Memory: the selected bitmap
    PixelBuffer surface;      // Surface: the surface's memory while its DC is out
    POINT origin = {0, 0};    // Screen: where the DC's (0, 0) lies on the screen
    Region clip;              // Screen: the part of the screen it may touch
    HFONT font = nullptr;
    COLORREF bk_color = RGB(255, 255, 255);
    COLORREF text_color = RGB(0, 0, 0);
    int bk_mode = OPAQUE;
    int stretch_mode = BLACKONWHITE;
};

// Where a DC's drawing lands: the pixels, where the DC's (0, 0) lies in them, and which of
// them it may touch.
struct DrawTarget {
    PixelBuffer pixels;
    POINT origin = {0, 0};
    Region clip;
    bool on_screen = false; // drawing marks the screen changed (DisplayChanged)
};

// The next handle: GDI objects and DCs share one sequence, as handles do on Windows.
void* NextGdiHandle();
HGDIOBJ AddObject(std::unique_ptr<GdiObject> object);
GdiObject* ObjectFromHandle(HGDIOBJ handle);
GdiBitmap* BitmapFromHandle(HGDIOBJ handle);
const FontData* FontFromHandle(HGDIOBJ handle);
DeviceContext* DcFromHandle(HDC handle);
HDC AddDc(const DeviceContext& dc);
bool ResolveTarget(HDC handle, DrawTarget* out);
// The DCs alive, and forgetting them all (dc.cpp): for GdiLive and GdiReset.
int LiveDcs();
void ForgetDcs();

// A bitmap of the given size whose pixels come from 0x00RRGGBB colours.
HBITMAP CreateBitmapFromColors(int32_t width, int32_t height, PixelFormat format, bool dib_section);

// The built-in fonts (text.cpp).
const FontData* SystemFontData();
const FontData* DialogFontData();
HFONT StockFont(int index);
