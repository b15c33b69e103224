// Zobu 4 platform floor: what the pieces of our GDI share, and what DirectDraw and user32
// use of it.
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

#include "region.h"

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

// Copies `count` pixels of row `fy` of `from`, from column `fx`, to row `y` of `to`, from
// column `x`, converting between formats as GDI does (through the colour each pixel stands
// for). Rows of one buffer may overlap.
void CopyPixelRow(const PixelBuffer& to, int32_t x, int32_t y, const PixelBuffer& from, int32_t fx,
                  int32_t fy, int32_t count);

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

// --- device contexts that DirectDraw hands out ---

// A device context that draws onto a surface's memory, for IDirectDrawSurface7::GetDC.
HDC GdiCreateSurfaceDC(const PixelBuffer& pixels);
// Ends it, for IDirectDrawSurface7::ReleaseDC; false when `dc` is not such a DC.
bool GdiDeleteSurfaceDC(HDC dc);

// --- device contexts that user32 hands out for windows ---

// A device context on the screen whose (0, 0) lies at `origin` and which touches only the
// pixels of `clip` (screen coordinates): user32 makes one for GetDC, GetWindowDC and
// BeginPaint with the window's visible region, so that GDI itself knows nothing of windows.
HDC GdiCreateScreenDC(POINT origin, const Region& clip);
// Ends it, and shows the screen if drawing through it changed it; false when `dc` is not
// such a DC.
bool GdiDeleteScreenDC(HDC dc);

// --- what user32's FillRect and InvertRect draw with ---

// The colour of a solid brush; false for a handle that is not a brush.
bool GdiBrushColor(HBRUSH brush, COLORREF* color);
// Fills a rectangle in the DC's coordinates, within what the DC may touch.
bool GdiFillRect(HDC dc, const RECT& rect, COLORREF color);
// Inverts every bit of its pixels' colours there, as the caret is drawn and erased.
bool GdiInvertRect(HDC dc, const RECT& rect);

// --- regions that user32 takes over ---

// Moves the region out of an HRGN, which then no longer exists (SetWindowRgn's ownership).
bool GdiTakeRegion(HRGN handle, Region* out);

// --- test hooks ---

// Makes the next `count` calls of CreateCompatibleDC fail, as when GDI is out of memory.
void GdiFailCreateCompatibleDC(int count);

// Objects and device contexts alive, stock objects left out: what a test compares with
// its start to find one it leaked.
struct GdiLiveObjects {
    int bitmaps = 0;
    int regions = 0;
    int fonts = 0;
    int brushes = 0;
    int dcs = 0;
};
GdiLiveObjects GdiLive();

// Forgets every object that is not a stock object: a fresh start for a test fixture.
void GdiReset();
