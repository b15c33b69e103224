// Zobu 4 platform floor: the display the floors share, below GDI and DirectDraw: pixel
// memory in its formats, and the one screen the host shows (its memory, which rows changed,
// the present, and the loss of it to another program).
//
// The pixel path: every picture (a GDI bitmap, a DirectDraw surface, the screen) is a
// PixelBuffer, memory in one of a few formats. A device context does not own pixels; it
// names a PixelBuffer (a selected bitmap, a surface whose DC is out, or the screen under a
// window) and, for windows, the origin and visible region within the screen. Colours enter
// as COLORREF and are turned into a format's raw pixel by plain truncation, as GDI does
// (magenta 0x00FF00FF gives 0xF81F in 5:6:5, 0x7C1F in 5:5:5, 0x00FF00FF in 32 bits); raw
// pixels read back widen by repeating their top bits, so that a read and a write of the
// same pixel give back the same raw value.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <vector>

enum class PixelFormat : uint8_t {
    Rgb565,
    Rgb555,
    Xrgb8888,
    FourCC16, // a non-RGB format stored in 16 bits: blits copy it, GDI cannot draw on it
};

int BytesPerPixel(PixelFormat format);
uint32_t RawFromColor(PixelFormat format, COLORREF color);
COLORREF ColorFromRaw(PixelFormat format, uint32_t raw);

// A view of pixel memory; whoever made it owns the memory.
struct PixelBuffer {
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0; // bytes from one row to the next
    PixelFormat format = PixelFormat::Xrgb8888;
    uint8_t* bits = nullptr;

    uint8_t* Row(int32_t y) const { return bits + static_cast<ptrdiff_t>(y) * pitch; }
    bool Contains(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < width && y < height;
    }
    uint32_t Read(int32_t x, int32_t y) const;
    void Write(int32_t x, int32_t y, uint32_t raw) const;
};

// Memory for pixels, with its view.
struct OwnedPixels {
    std::vector<uint8_t> storage;
    PixelBuffer view;

    // Zero-filled; rows aligned to four bytes.
    void Allocate(int32_t width, int32_t height, PixelFormat format);
};

// The one screen the host shows: 640 x 480 in 5:6:5. The DirectDraw primary surface is
// this memory, and windows' device contexts draw into it, each within its visible region.
const PixelBuffer& DisplayPixels();

// A byte a row of the screen, set where a write since the screen was last shown changed it.
// A blit onto the primary that compares what it writes marks its rows here and presents
// with only_marked_rows; any other present counts every row as possibly changed.
uint8_t* DisplayChangedRows();

// Shows the screen now: called after every blit onto the DirectDraw primary surface.
void DisplayPresent(bool only_marked_rows = false);

// GDI drawing on the screen (through a window's or the screen's DC) shows once the paint is
// over: drawing marks the screen changed, and releasing that DC presents it, once, however
// many calls drew. A DirectDraw present, or a surface that lost the screen, shows the
// changes too.
void DisplayChanged();
void DisplayPresentIfChanged();

// Another program took the display (Alt+Tab on Windows), as the host told user32: what is
// kept in display memory is gone. Whoever keeps something there registers to be told
// (DirectDraw, whose surfaces are lost), so that user32, which hears of it, need not know
// who. Registering one listener twice registers it once.
void DisplayOnLost(void (*listener)());
void DisplayLost();
