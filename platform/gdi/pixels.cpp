// Zobu 4 platform floor: pixel formats, colour conversion and the screen's memory.
#include "gdi_private.h"
#include "objects.h"

#include "../host/host.h"

#include <string.h>

#include <algorithm>

namespace {

// Widens an n-bit field to 8 bits by repeating its top bits: 0x1F in 5 bits gives 0xFF.
uint32_t Widen(uint32_t field, int bits) {
    return (field << (8 - bits)) | (field >> (2 * bits - 8));
}

} // namespace

int BytesPerPixel(PixelFormat format) {
    return format == PixelFormat::Xrgb8888 ? 4 : 2;
}

uint32_t RawFromColor(PixelFormat format, COLORREF color) {
    const uint32_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    switch (format) {
    case PixelFormat::Rgb565:
        return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    case PixelFormat::Rgb555:
        return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case PixelFormat::Xrgb8888:
        return (r << 16) | (g << 8) | b;
    case PixelFormat::FourCC16:
        break;
    }
    return 0;
}

COLORREF ColorFromRaw(PixelFormat format, uint32_t raw) {
    switch (format) {
    case PixelFormat::Rgb565:
        return RGB(Widen((raw >> 11) & 0x1F, 5), Widen((raw >> 5) & 0x3F, 6), Widen(raw & 0x1F, 5));
    case PixelFormat::Rgb555:
        return RGB(Widen((raw >> 10) & 0x1F, 5), Widen((raw >> 5) & 0x1F, 5), Widen(raw & 0x1F, 5));
    case PixelFormat::Xrgb8888:
        return RGB((raw >> 16) & 0xFF, (raw >> 8) & 0xFF, raw & 0xFF);
    case PixelFormat::FourCC16:
        break;
    }
    return 0;
}

uint32_t PixelBuffer::Read(int32_t x, int32_t y) const {
    const uint8_t* p = Row(y) + x * BytesPerPixel(format);
    if (format == PixelFormat::Xrgb8888) {
        uint32_t v;
        memcpy(&v, p, 4);
        return v;
    }
    uint16_t v;
    memcpy(&v, p, 2);
    return v;
}

void PixelBuffer::Write(int32_t x, int32_t y, uint32_t raw) const {
    uint8_t* p = Row(y) + x * BytesPerPixel(format);
    if (format == PixelFormat::Xrgb8888) {
        memcpy(p, &raw, 4);
    } else {
        const uint16_t v = static_cast<uint16_t>(raw);
        memcpy(p, &v, 2);
    }
}

void OwnedPixels::Allocate(int32_t width, int32_t height, PixelFormat format) {
    view.width = width;
    view.height = height;
    view.format = format;
    view.pitch = (width * BytesPerPixel(format) + 3) & ~3;
    storage.assign(static_cast<size_t>(view.pitch) * static_cast<size_t>(height), 0);
    view.bits = storage.data();
}

const PixelBuffer& DisplayPixels() {
    // Never destroyed: game objects release their art from exit-time destructors, and
    // nothing they reach may be gone by then.
    static OwnedPixels* display = [] {
        auto* pixels = new OwnedPixels();
        pixels->Allocate(640, 480, PixelFormat::Rgb565);
        return pixels;
    }();
    return display->view;
}

namespace {
// GDI drew on the screen since it was last shown.
bool display_changed = false;
// The rows GDI drew on since the screen was last shown, [first, end); empty when first >= end.
int32_t gdi_first_row = INT32_MAX, gdi_end_row = 0;
} // namespace

void DisplayChanged() {
    // A window's paint is small beside a frame: its rows are not worth tracking.
    display_changed = true;
    gdi_first_row = 0;
    gdi_end_row = DisplayPixels().height;
}

void DisplayPresentIfChanged() {
    if (display_changed) {
        DisplayPresent(0, 0);
    }
}

void DisplayPresent(int32_t first_row, int32_t end_row) {
    const PixelBuffer& screen = DisplayPixels();
    first_row = std::clamp(std::min(first_row, gdi_first_row), 0, screen.height);
    end_row = std::clamp(std::max(end_row, gdi_end_row), first_row, screen.height);
    display_changed = false;
    gdi_first_row = INT32_MAX;
    gdi_end_row = 0;
    if (Host().present) {
        Host().present(reinterpret_cast<const uint16_t*>(screen.bits), screen.pitch, first_row,
                       end_row);
    }
}
