// Zobu 4 platform floor: what the pieces of our GDI share, and what DirectDraw and user32
// use of it. The pixels themselves, and the screen, are the display's (display.h).
#pragma once

#include <windows.h>

#include "../display/display.h"
#include "region.h"

#include <stdint.h>

#include <vector>

// Copies `count` pixels of row `fy` of `from`, from column `fx`, to row `y` of `to`, from
// column `x`, converting between formats as GDI does (through the colour each pixel stands
// for). Rows of one buffer may overlap.
void CopyPixelRow(const PixelBuffer& to, int32_t x, int32_t y, const PixelBuffer& from, int32_t fx,
                  int32_t fy, int32_t count);

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
