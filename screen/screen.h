// Zobu 4: the full-screen display device.
//
// The Screen takes the display for the game's window in exclusive full-screen mode, makes
// a primary surface with one back buffer and a clipper bound to the window, and offers
// what the game draws with: a colour fill, fast blits of surfaces and Images, and Images
// made from bitmaps and from text. Start-up opens the one Screen; nothing releases it.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <stdint.h>

class Image;

class Screen {
  public:
    Screen();

    // Releases whatever an earlier opening made, then takes the display exclusively in the
    // mode asked for, with a primary surface and its back buffer. Any DirectDraw failure
    // gives E_FAIL and leaves what the steps before it made.
    HRESULT OpenFullScreen(HWND window, DWORD width, DWORD height, DWORD bitsPerPixel);

    // Releases the back buffer, the primary and the DirectDraw object, handing the display
    // back. Always S_OK.
    virtual HRESULT ReleaseAll();

    // Binds a clipper to the window and attaches it to the primary, so that presenting
    // never paints over windows that lie above the game. Only for an opened Screen.
    HRESULT InstallClipper();

    // Fills the whole back buffer with a raw pixel value in its own format.
    HRESULT FillBackBuffer(DWORD fillColor);

    // BltFast onto the back buffer: no stretching and no clipping.
    HRESULT DrawSurface(DWORD x, DWORD y, IDirectDrawSurface7* source, RECT* sourceRect,
                        DWORD flags);

    // Draws an Image, with its colour key if it has one.
    HRESULT DrawImage(DWORD x, DWORD y, Image* image, RECT* sourceRect);

    // Makes an Image in system memory from a bitmap resource of the program, or else a
    // bitmap file, scaled to width x height (0 keeps the bitmap's own).
    HRESULT LoadBitmapImage(Image** out, LPCSTR name, int32_t width, int32_t height);

    // Makes an Image exactly as large as the text, with the text drawn on backColor.
    HRESULT MakeTextImage(Image** out, HFONT font, LPCSTR text, COLORREF backColor,
                          COLORREF textColor);

    IDirectDraw7* directDraw;
    IDirectDrawSurface7* primary;
    IDirectDrawSurface7* backBuffer;
    HWND window; // written only by a successful OpenFullScreen
};
