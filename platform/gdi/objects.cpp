// Zobu 4 platform floor: GDI objects, device contexts and their handles.
#include "objects.h"

#include <string.h>

#include <map>

namespace {

// Live objects and device contexts by handle. Never destroyed: game objects release art
// from exit-time destructors, and nothing they reach may be gone by then. Handles are
// never reused, so a stale one stays invalid.
std::map<HGDIOBJ, std::unique_ptr<GdiObject>>& Objects() {
    static auto* objects = new std::map<HGDIOBJ, std::unique_ptr<GdiObject>>();
    return *objects;
}
std::map<HDC, std::unique_ptr<DeviceContext>>& Dcs() {
    static auto* dcs = new std::map<HDC, std::unique_ptr<DeviceContext>>();
    return *dcs;
}
// The next handle value; GDI objects and DCs share one sequence, as handles do on Windows.
uintptr_t next_handle = 0x05000010;
// Calls of CreateCompatibleDC still to fail (a test hook).
int failing_create_dcs = 0;

void* NextHandle() {
    void* handle = reinterpret_cast<void*>(next_handle);
    next_handle += 4;
    return handle;
}

// The 1 x 1 bitmap every memory DC starts with.
HBITMAP StockBitmap() {
    static HBITMAP stock = [] {
        HBITMAP b = CreateBitmapFromColors(1, 1, PixelFormat::Xrgb8888, false);
        BitmapFromHandle(b)->stock = true;
        return b;
    }();
    return stock;
}

// Sets one attribute of a DC and gives its previous value, as the Set* calls of GDI do;
// `failure` for a handle that is not a DC.
template <typename T>
T ExchangeAttribute(HDC handle, T DeviceContext::*attribute, T value, T failure) {
    DeviceContext* dc = DcFromHandle(handle);
    if (!dc) {
        return failure;
    }
    const T previous = dc->*attribute;
    dc->*attribute = value;
    return previous;
}

// Ends a DC of the given kind; false for a handle that is no such DC.
bool EraseDc(HDC handle, DcKind kind) {
    const DeviceContext* dc = DcFromHandle(handle);
    if (!dc || dc->kind != kind) {
        return false;
    }
    Dcs().erase(handle);
    return true;
}

} // namespace

HGDIOBJ AddObject(std::unique_ptr<GdiObject> object) {
    HGDIOBJ handle = NextHandle();
    Objects()[handle] = std::move(object);
    return handle;
}

GdiObject* ObjectFromHandle(HGDIOBJ handle) {
    auto found = Objects().find(handle);
    return found == Objects().end() ? nullptr : found->second.get();
}

GdiBitmap* BitmapFromHandle(HGDIOBJ handle) {
    GdiObject* o = ObjectFromHandle(handle);
    return (o && o->kind == GdiKind::Bitmap) ? static_cast<GdiBitmap*>(o) : nullptr;
}

const FontData* FontFromHandle(HGDIOBJ handle) {
    GdiObject* o = ObjectFromHandle(handle);
    return (o && o->kind == GdiKind::Font) ? static_cast<GdiFont*>(o)->data : SystemFontData();
}

DeviceContext* DcFromHandle(HDC handle) {
    auto found = Dcs().find(handle);
    return found == Dcs().end() ? nullptr : found->second.get();
}

HDC AddDc(const DeviceContext& dc) {
    HDC handle = static_cast<HDC>(NextHandle());
    Dcs()[handle] = std::make_unique<DeviceContext>(dc);
    Dcs()[handle]->font = StockFont(SYSTEM_FONT);
    return handle;
}

bool ResolveTarget(HDC handle, DrawTarget* out) {
    const DeviceContext* dc = DcFromHandle(handle);
    if (!dc) {
        return false;
    }
    *out = DrawTarget();
    switch (dc->kind) {
    case DcKind::Memory:
        out->pixels = BitmapFromHandle(dc->bitmap)->pixels.view;
        break;
    case DcKind::Surface:
        out->pixels = dc->surface;
        break;
    case DcKind::Screen:
        out->pixels = DisplayPixels();
        out->origin = dc->origin;
        out->clip = dc->clip;
        out->on_screen = true;
        return true;
    }
    out->clip = Region({0, 0, out->pixels.width, out->pixels.height});
    return true;
}

HBITMAP CreateBitmapFromColors(int32_t width, int32_t height, PixelFormat format,
                               bool dib_section) {
    auto bitmap = std::make_unique<GdiBitmap>();
    bitmap->pixels.Allocate(width, height, format);
    bitmap->dib_section = dib_section;
    bitmap->bits_per_pixel = 8 * BytesPerPixel(format);
    return static_cast<HBITMAP>(AddObject(std::move(bitmap)));
}

HDC GdiCreateSurfaceDC(const PixelBuffer& pixels) {
    DeviceContext dc;
    dc.kind = DcKind::Surface;
    dc.surface = pixels;
    return AddDc(dc);
}

bool GdiDeleteSurfaceDC(HDC handle) {
    return EraseDc(handle, DcKind::Surface);
}

HDC GdiCreateScreenDC(POINT origin, const Region& clip) {
    DeviceContext dc;
    dc.kind = DcKind::Screen;
    dc.origin = origin;
    dc.clip = clip;
    return AddDc(dc);
}

bool GdiDeleteScreenDC(HDC handle) {
    if (!EraseDc(handle, DcKind::Screen)) {
        return false;
    }
    DisplayPresentIfChanged(); // the paint through this DC is over
    return true;
}

void GdiFailCreateCompatibleDC(int count) {
    failing_create_dcs = count;
}

GdiLiveObjects GdiLive() {
    GdiLiveObjects live;
    for (const auto& [handle, object] : Objects()) {
        if (object->stock) {
            continue;
        }
        switch (object->kind) {
        case GdiKind::Bitmap:
            ++live.bitmaps;
            break;
        case GdiKind::Region:
            ++live.regions;
            break;
        case GdiKind::Font:
            ++live.fonts;
            break;
        case GdiKind::Brush:
            ++live.brushes;
            break;
        }
    }
    live.dcs = static_cast<int>(Dcs().size());
    return live;
}

void GdiReset() {
    for (auto it = Objects().begin(); it != Objects().end();) {
        it->second->selected_into = nullptr;
        it = it->second->stock ? std::next(it) : Objects().erase(it);
    }
    Dcs().clear();
    failing_create_dcs = 0;
}

HDC WINAPI CreateCompatibleDC(HDC dc) {
    if (failing_create_dcs > 0) {
        --failing_create_dcs;
        return nullptr;
    }
    if (dc && !DcFromHandle(dc)) {
        return nullptr;
    }
    DeviceContext memory;
    memory.kind = DcKind::Memory;
    memory.bitmap = StockBitmap();
    return AddDc(memory);
}

BOOL WINAPI DeleteDC(HDC handle) {
    DeviceContext* dc = DcFromHandle(handle);
    if (!dc || dc->kind != DcKind::Memory) {
        return FALSE; // others go back with ReleaseDC
    }
    if (GdiObject* bitmap = ObjectFromHandle(dc->bitmap)) {
        bitmap->selected_into = nullptr;
    }
    Dcs().erase(handle);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC handle, HGDIOBJ object) {
    DeviceContext* dc = DcFromHandle(handle);
    GdiObject* o = ObjectFromHandle(object);
    if (!dc || !o) {
        return nullptr;
    }
    switch (o->kind) {
    case GdiKind::Bitmap: {
        // A bitmap goes into one memory DC at a time.
        if (dc->kind != DcKind::Memory || (o->selected_into && o->selected_into != handle)) {
            return nullptr;
        }
        HBITMAP previous = dc->bitmap;
        if (GdiObject* old = ObjectFromHandle(previous)) {
            old->selected_into = nullptr;
        }
        dc->bitmap = static_cast<HBITMAP>(object);
        o->selected_into = o->stock ? nullptr : handle;
        return previous;
    }
    case GdiKind::Font: {
        HFONT previous = dc->font;
        dc->font = static_cast<HFONT>(object);
        return previous;
    }
    case GdiKind::Region:
    case GdiKind::Brush:
        break; // our DCs keep no clipping region and paint with no brush of their own
    }
    return nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    GdiObject* o = ObjectFromHandle(object);
    if (!o) {
        return FALSE;
    }
    if (o->stock) {
        return TRUE; // deleting a stock object is harmless and does nothing
    }
    if (o->selected_into) {
        return FALSE; // still selected: Windows leaves it alone too
    }
    Objects().erase(object);
    return TRUE;
}

int WINAPI GetObjectA(HANDLE object, int size, LPVOID buffer) {
    const GdiBitmap* bitmap = BitmapFromHandle(object);
    if (!bitmap) {
        return 0;
    }
    if (!buffer) {
        return sizeof(BITMAP);
    }
    if (size < static_cast<int>(sizeof(BITMAP))) {
        return 0;
    }
    // Rows of a DIB section are padded to 4 bytes, those of a device-dependent bitmap to 2,
    // whatever our own rows hold inside.
    const PixelBuffer& p = bitmap->pixels.view;
    const int64_t row_bits = int64_t{p.width} * bitmap->bits_per_pixel;
    BITMAP info = {};
    info.bmWidth = p.width;
    info.bmHeight = p.height;
    info.bmWidthBytes = static_cast<LONG>(bitmap->dib_section ? (row_bits + 31) / 32 * 4
                                                              : (row_bits + 15) / 16 * 2);
    info.bmPlanes = 1;
    info.bmBitsPixel = static_cast<WORD>(bitmap->bits_per_pixel);
    info.bmBits = bitmap->dib_section ? p.bits : nullptr;
    *static_cast<BITMAP*>(buffer) = info;
    return sizeof(BITMAP);
}

HGDIOBJ WINAPI GetStockObject(int index) {
    return StockFont(index);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(AddObject(std::make_unique<GdiBrush>(color & 0x00FFFFFF)));
}

bool GdiBrushColor(HBRUSH handle, COLORREF* color) {
    const GdiObject* o = ObjectFromHandle(handle);
    if (!o || o->kind != GdiKind::Brush) {
        return false;
    }
    *color = static_cast<const GdiBrush*>(o)->color;
    return true;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC handle, int width, int height) {
    DrawTarget target;
    if (!ResolveTarget(handle, &target) || width <= 0 || height <= 0 ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > (64u << 20)) {
        return nullptr;
    }
    return CreateBitmapFromColors(width, height, target.pixels.format, false);
}

COLORREF WINAPI SetBkColor(HDC handle, COLORREF color) {
    return ExchangeAttribute(handle, &DeviceContext::bk_color, color, CLR_INVALID);
}

COLORREF WINAPI SetTextColor(HDC handle, COLORREF color) {
    return ExchangeAttribute(handle, &DeviceContext::text_color, color, CLR_INVALID);
}

int WINAPI SetBkMode(HDC handle, int mode) {
    const bool known = mode == OPAQUE || mode == TRANSPARENT;
    return known ? ExchangeAttribute(handle, &DeviceContext::bk_mode, mode, 0) : 0;
}

int WINAPI SetStretchBltMode(HDC handle, int mode) {
    const bool known = mode >= BLACKONWHITE && mode <= HALFTONE;
    return known ? ExchangeAttribute(handle, &DeviceContext::stretch_mode, mode, 0) : 0;
}

int WINAPI GetStretchBltMode(HDC handle) {
    const DeviceContext* dc = DcFromHandle(handle);
    return dc ? dc->stretch_mode : 0;
}
