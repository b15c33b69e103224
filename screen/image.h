// Zobu 4: an off-screen picture of the full-screen display.
//
// An Image is a DirectDraw surface in the display's pixel format and a flag that says
// whether it has a source colour key. Whoever holds the pointer owns it, and releases it
// with Destroy followed by delete, then sets the pointer to null.
#pragma once

#include <windows.h>
#include <ddraw.h>

class Image {
  public:
    Image();

    // Creates the surface that desc describes. Returns DirectDraw's code on failure.
    HRESULT Create(IDirectDraw7* directDraw, DDSURFACEDESC2* desc);

    // Releases the surface, if there is one.
    void Destroy();

    // Stretches the source rectangle of the bitmap over the whole surface; a width or
    // height of 0 means the bitmap's own.
    HRESULT PaintBitmap(HBITMAP bitmap, int srcX, int srcY, int srcWidth, int srcHeight);

    // Writes one line of text at (x, y) on an opaque background.
    HRESULT PaintText(HFONT font, LPCSTR text, int x, int y, COLORREF backColor,
                      COLORREF textColor);

    // Makes the colour transparent for blits that honour the source colour key.
    HRESULT ApplyColorKey(COLORREF color);

    // The raw pixel value that GDI writes into this surface for the colour.
    DWORD MatchGdiColor(COLORREF color);

    IDirectDrawSurface7* surface;
    BOOL colorKeyed;
};
