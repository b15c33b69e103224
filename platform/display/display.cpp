// Zobu 4 platform floor: pixel formats, colour conversion and the screen's memory.
#include "display.h"

#include "../host/host.h"
#include "../host/rgb565.h"

#include <string.h>

#include <algorithm>
#include <vector>

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
        return RGB(WidenChannel((raw >> 11) & 0x1F, 5), WidenChannel((raw >> 5) & 0x3F, 6),
                   WidenChannel(raw & 0x1F, 5));
    case PixelFormat::Rgb555:
        return RGB(WidenChannel((raw >> 10) & 0x1F, 5), WidenChannel((raw >> 5) & 0x1F, 5),
                   WidenChannel(raw & 0x1F, 5));
    case PixelFormat::Xrgb8888:
        return RGB((raw >> 16) & 0xFF, (raw >> 8) & 0xFF, raw & 0xFF);
    case PixelFormat::FourCC16:
        break;
    }
    return 0;
}

uint32_t PixelBuffer::Read(int32_t x, int32_t y) const {
    const uint8_t* p = Row(y) + static_cast<ptrdiff_t>(x) * BytesPerPixel(format);
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
    uint8_t* p = Row(y) + static_cast<ptrdiff_t>(x) * BytesPerPixel(format);
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
        pixels->Allocate(kScreenWidth, kScreenHeight, PixelFormat::Rgb565);
        return pixels;
    }();
    return display->view;
}

namespace {
// GDI drew on the screen since it was last shown.
bool display_changed = false;
// Who keeps something in display memory, to be told when it is lost.
std::vector<void (*)()> lost_listeners;
} // namespace

uint8_t* DisplayChangedRows() {
    static std::vector<uint8_t> rows(static_cast<size_t>(DisplayPixels().height), 0);
    return rows.data();
}

void DisplayChanged() {
    display_changed = true;
}

void DisplayOnLost(void (*listener)()) {
    if (std::find(lost_listeners.begin(), lost_listeners.end(), listener) == lost_listeners.end()) {
        lost_listeners.push_back(listener);
    }
}

void DisplayLost() {
    for (void (*listener)() : lost_listeners) {
        listener();
    }
}

void DisplayPresentIfChanged() {
    if (display_changed) {
        DisplayPresent();
    }
}

void DisplayPresent(bool only_marked_rows) {
    const PixelBuffer& screen = DisplayPixels();
    uint8_t* rows = DisplayChangedRows();
    // A window's paint is small beside a frame: its rows are not worth tracking.
    if (!only_marked_rows || display_changed) {
        memset(rows, 1, static_cast<size_t>(screen.height));
    }
    display_changed = false;
    if (Host().present) {
        Host().present(reinterpret_cast<const uint16_t*>(screen.bits), screen.pitch, rows);
    }
    memset(rows, 0, static_cast<size_t>(screen.height));
}
