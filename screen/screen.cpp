// Zobu 4: the full-screen display device.
#include "screen/screen.h"

#include "screen/image.h"

#include <string.h>

#include <new>

namespace {

// Puts a new Image at *out, or gives its code and leaves *out null if it cannot be made.
// Running out of memory for the Image itself is such a code, not the end of the program.
HRESULT CreateImage(Image** out, IDirectDraw7* directDraw, DDSURFACEDESC2* desc) {
    *out = new (std::nothrow) Image();
    if (*out == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = (*out)->Create(directDraw, desc);
    if (FAILED(hr)) {
        (*out)->Destroy();
        delete *out;
        *out = nullptr;
    }
    return hr;
}

} // namespace

// `window` starts null too, so that releasing after a failed first opening hands the
// display back with a defined window.
Screen::Screen() : directDraw(nullptr), primary(nullptr), backBuffer(nullptr), window(nullptr) {}

HRESULT Screen::OpenFullScreen(HWND newWindow, DWORD width, DWORD height, DWORD bitsPerPixel) {
    ReleaseAll();
    if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&directDraw), IID_IDirectDraw7,
                                  nullptr))) {
        return E_FAIL;
    }
    if (FAILED(directDraw->SetCooperativeLevel(newWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN))) {
        return E_FAIL;
    }
    if (FAILED(directDraw->SetDisplayMode(width, height, bitsPerPixel, 0, 0))) {
        return E_FAIL;
    }
    DDSURFACEDESC2 desc;
    memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps =
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    desc.dwBackBufferCount = 1;
    if (FAILED(directDraw->CreateSurface(&desc, &primary, nullptr))) {
        return E_FAIL;
    }
    DDSCAPS2 caps;
    memset(&caps, 0, sizeof caps);
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(primary->GetAttachedSurface(&caps, &backBuffer))) {
        return E_FAIL;
    }
    // One reference more than GetAttachedSurface gave; ReleaseAll gives back one.
    backBuffer->AddRef();
    window = newWindow;
    return S_OK;
}

HRESULT Screen::ReleaseAll() {
    if (backBuffer != nullptr) {
        backBuffer->Release();
        backBuffer = nullptr;
    }
    if (primary != nullptr) {
        primary->Release();
        primary = nullptr;
    }
    if (directDraw != nullptr) {
        directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
        directDraw->Release();
        directDraw = nullptr;
    }
    return S_OK;
}

HRESULT Screen::InstallClipper() {
    IDirectDrawClipper* clipper = nullptr;
    HRESULT hr = directDraw->CreateClipper(0, &clipper, nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    clipper->SetHWnd(0, window);
    hr = primary->SetClipper(clipper);
    // After success the primary holds the clipper's only reference.
    clipper->Release();
    return FAILED(hr) ? hr : S_OK;
}

HRESULT Screen::FillBackBuffer(DWORD fillColor) {
    if (backBuffer == nullptr) {
        return E_POINTER;
    }
    DDBLTFX fx;
    memset(&fx, 0, sizeof fx);
    fx.dwSize = sizeof fx;
    fx.dwFillColor = fillColor;
    return backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
}

HRESULT Screen::DrawSurface(DWORD x, DWORD y, IDirectDrawSurface7* source, RECT* sourceRect,
                            DWORD flags) {
    if (backBuffer == nullptr) {
        return E_POINTER;
    }
    return backBuffer->BltFast(x, y, source, sourceRect, flags);
}

HRESULT Screen::DrawImage(DWORD x, DWORD y, Image* image, RECT* sourceRect) {
    if (image == nullptr) {
        return E_INVALIDARG;
    }
    return DrawSurface(x, y, image->surface, sourceRect,
                       image->colorKeyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY);
}

HRESULT Screen::LoadBitmapImage(Image** out, LPCSTR name, int32_t width, int32_t height) {
    if (directDraw == nullptr || name == nullptr || out == nullptr) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP,
                                                     width, height, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) {
        bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, name, IMAGE_BITMAP, width, height,
                                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    }
    if (bitmap == nullptr) {
        return E_FAIL;
    }
    BITMAP info;
    memset(&info, 0, sizeof info);
    GetObjectA(bitmap, sizeof info, &info);

    DDSURFACEDESC2 desc;
    memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = static_cast<DWORD>(info.bmWidth);
    desc.dwHeight = static_cast<DWORD>(info.bmHeight);
    HRESULT hr = CreateImage(out, directDraw, &desc);
    if (FAILED(hr)) {
        DeleteObject(bitmap);
        return hr;
    }
    hr = (*out)->PaintBitmap(bitmap, 0, 0, 0, 0);
    DeleteObject(bitmap);
    // After a failed paint the Image stays at *out and belongs to the caller.
    return FAILED(hr) ? hr : S_OK;
}

HRESULT Screen::MakeTextImage(Image** out, HFONT font, LPCSTR text, COLORREF backColor,
                              COLORREF textColor) {
    if (directDraw == nullptr || text == nullptr || out == nullptr) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    // Measured on the screen's DC, painted on the surface's: both start with the System
    // font, so the surface is exactly as large as the text.
    SIZE size = {0, 0};
    HDC screenDC = GetDC(nullptr);
    if (font != nullptr) {
        SelectObject(screenDC, font);
    }
    GetTextExtentPoint32A(screenDC, text, static_cast<int>(strlen(text)), &size);
    ReleaseDC(nullptr, screenDC);

    DDSURFACEDESC2 desc;
    memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN; // DirectDraw may place it in display memory
    desc.dwWidth = static_cast<DWORD>(size.cx);
    desc.dwHeight = static_cast<DWORD>(size.cy);
    HRESULT hr = CreateImage(out, directDraw, &desc);
    if (FAILED(hr)) {
        return hr;
    }
    hr = (*out)->PaintText(font, text, 0, 0, backColor, textColor);
    return FAILED(hr) ? hr : S_OK;
}
