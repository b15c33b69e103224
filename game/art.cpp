// Zobu 4: loading, drawing and releasing the game objects' art.
#include "game/art.h"

#include "screen/image.h"
#include "screen/screen.h"

namespace {
constexpr COLORREF kMagenta = 0x00FF00FF; // transparent in every sprite
} // namespace

HRESULT LoadArtImage(Screen* screen, Image** field, LPCSTR file, int32_t width, int32_t height) {
    HRESULT hr = screen->LoadBitmapImage(field, file, width, height);
    if (FAILED(hr)) {
        return hr;
    }
    hr = (*field)->ApplyColorKey(kMagenta);
    return FAILED(hr) ? hr : S_OK;
}

void DrawArt(Image* image, int32_t x, int32_t y, IDirectDrawSurface7* backBuffer) {
    if (image == nullptr || image->surface == nullptr || backBuffer == nullptr) {
        return;
    }
    backBuffer->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), image->surface, nullptr,
                        DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
}

void ReleaseArt(Image*& image) {
    if (image != nullptr) {
        image->Destroy();
        delete image;
        image = nullptr;
    }
}
