// Zobu 4: off-screen pictures.
//
// Painting always goes through a GDI device context of the surface (StretchBlt, TextOutA).
// A colour key is given as a GDI colour and turned into the surface's own pixel value by
// GDI itself: the colour is written into the top-left pixel through a DC, read back raw
// through a lock, and the old pixel is put back.
#include "screen/image.h"

#include <string.h>

Image::Image() : surface(nullptr), colorKeyed(FALSE) {}

HRESULT Image::Create(IDirectDraw7* directDraw, DDSURFACEDESC2* desc) {
    const HRESULT hr = directDraw->CreateSurface(desc, &surface, nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    return S_OK;
}

void Image::Destroy() {
    if (surface != nullptr) {
        surface->Release();
        surface = nullptr;
    }
}

HRESULT Image::PaintBitmap(HBITMAP bitmap, int srcX, int srcY, int srcWidth, int srcHeight) {
    if (bitmap == nullptr || surface == nullptr) {
        return E_INVALIDARG;
    }
    HRESULT hr = surface->Restore();
    if (FAILED(hr)) {
        return hr;
    }
    DDSURFACEDESC2 desc;
    memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    surface->GetSurfaceDesc(&desc);
    // An equality test, as DirectDraw's own samples do: a format with other flags besides
    // DDPF_FOURCC is let through.
    if (desc.ddpfPixelFormat.dwFlags == DDPF_FOURCC) {
        return E_NOTIMPL;
    }
    HDC memoryDC = CreateCompatibleDC(nullptr);
    if (memoryDC == nullptr) {
        return E_FAIL;
    }
    SelectObject(memoryDC, bitmap);
    BITMAP info;
    memset(&info, 0, sizeof info);
    GetObjectA(bitmap, sizeof info, &info);
    if (srcWidth == 0) {
        srcWidth = info.bmWidth;
    }
    if (srcHeight == 0) {
        srcHeight = info.bmHeight;
    }
    HDC surfaceDC = nullptr;
    hr = surface->GetDC(&surfaceDC);
    if (FAILED(hr)) {
        DeleteDC(memoryDC);
        return hr;
    }
    StretchBlt(surfaceDC, 0, 0, static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight),
               memoryDC, srcX, srcY, srcWidth, srcHeight, SRCCOPY);
    hr = surface->ReleaseDC(surfaceDC);
    DeleteDC(memoryDC);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT Image::PaintText(HFONT font, LPCSTR text, int x, int y, COLORREF backColor,
                         COLORREF textColor) {
    if (surface == nullptr || text == nullptr) {
        return E_INVALIDARG;
    }
    HRESULT hr = surface->Restore();
    if (FAILED(hr)) {
        return hr;
    }
    HDC surfaceDC = nullptr;
    hr = surface->GetDC(&surfaceDC);
    if (FAILED(hr)) {
        return hr;
    }
    // The background mode stays opaque: every character's cell, spaces too, is filled.
    SetBkColor(surfaceDC, backColor);
    SetTextColor(surfaceDC, textColor);
    if (font != nullptr) {
        SelectObject(surfaceDC, font);
    }
    TextOutA(surfaceDC, x, y, text, static_cast<int>(strlen(text)));
    hr = surface->ReleaseDC(surfaceDC);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT Image::ApplyColorKey(COLORREF color) {
    if (surface == nullptr) {
        return E_POINTER;
    }
    colorKeyed = TRUE; // stays set even if SetColorKey fails
    DDCOLORKEY key;
    key.dwColorSpaceLowValue = MatchGdiColor(color);
    key.dwColorSpaceHighValue = MatchGdiColor(color);
    return surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

DWORD Image::MatchGdiColor(COLORREF color) {
    if (surface == nullptr) {
        return 0;
    }
    DWORD result = CLR_INVALID;
    COLORREF saved = CLR_INVALID;
    bool wrote = false;
    HDC dc = nullptr;
    if (color != CLR_INVALID && surface->GetDC(&dc) == DD_OK) {
        saved = GetPixel(dc, 0, 0);
        SetPixel(dc, 0, 0, color);
        surface->ReleaseDC(dc);
        wrote = true;
    }
    DDSURFACEDESC2 desc;
    memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) == DD_OK) {
        memcpy(&result, desc.lpSurface, sizeof result);
        if (desc.ddpfPixelFormat.dwRGBBitCount < 32) {
            result &= (1u << desc.ddpfPixelFormat.dwRGBBitCount) - 1;
        }
        surface->Unlock(nullptr);
    }
    // Nothing was saved when the first GetDC failed, so there is nothing to put back.
    if (wrote && surface->GetDC(&dc) == DD_OK) {
        SetPixel(dc, 0, 0, saved);
        surface->ReleaseDC(dc);
    }
    return result;
}
