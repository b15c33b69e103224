// Zobu 4 platform floor: device contexts: memory DCs, the DCs that DirectDraw and user32 hand
// out, what is selected into them, and where their drawing lands.
#include "objects.h"

#include <map>

namespace {

// Live device contexts by handle. Never destroyed, as the objects are not (objects.cpp).
std::map<HDC, std::unique_ptr<DeviceContext>>& Dcs() {
    static auto* dcs = new std::map<HDC, std::unique_ptr<DeviceContext>>();
    return *dcs;
}
// Calls of CreateCompatibleDC still to fail (a test hook).
int failing_create_dcs = 0;

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

DeviceContext* DcFromHandle(HDC handle) {
    auto found = Dcs().find(handle);
    return found == Dcs().end() ? nullptr : found->second.get();
}

HDC AddDc(const DeviceContext& dc) {
    HDC handle = static_cast<HDC>(NextGdiHandle());
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

int LiveDcs() {
    return static_cast<int>(Dcs().size());
}

void ForgetDcs() {
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
