// Zobu 4 platform floor: GDI objects (bitmaps, brushes, fonts, regions) and their handles.
#include "objects.h"

#include <string.h>

#include <map>

namespace {

// Live objects by handle. Never destroyed: game objects release art
// from exit-time destructors, and nothing they reach may be gone by then. Handles are
// never reused, so a stale one stays invalid.
std::map<HGDIOBJ, std::unique_ptr<GdiObject>>& Objects() {
    static auto* objects = new std::map<HGDIOBJ, std::unique_ptr<GdiObject>>();
    return *objects;
}
// The next handle value; GDI objects and DCs share one sequence, as handles do on Windows.
uintptr_t next_handle = 0x05000010;

} // namespace

void* NextGdiHandle() {
    void* handle = reinterpret_cast<void*>(next_handle);
    next_handle += 4;
    return handle;
}

HGDIOBJ AddObject(std::unique_ptr<GdiObject> object) {
    HGDIOBJ handle = NextGdiHandle();
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
    live.dcs = LiveDcs();
    return live;
}

void GdiReset() {
    for (auto it = Objects().begin(); it != Objects().end();) {
        it->second->selected_into = nullptr;
        it = it->second->stock ? std::next(it) : Objects().erase(it);
    }
    ForgetDcs();
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
