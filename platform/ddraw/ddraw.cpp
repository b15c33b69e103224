// Zobu 4 platform floor: DirectDrawCreateEx and the DirectDraw object.
//
// There is one display, 640 x 480 in 5:6:5, because that is what the host shows; that is
// the one display mode there is. Exclusive full-screen mode makes the window cover it.
#include "ddraw_private.h"

#include "../user/window_geometry.h"

#include <string.h>

#include <algorithm>
#include <vector>

namespace {

// What DirectDraw keeps of all its objects: every surface alive (to be lost with the
// display), how many objects are alive (for DDrawLive), and the object that holds the
// display exclusively. Never destroyed: surfaces are released by game objects' exit-time
// destructors.
struct Books {
    std::vector<Surface*> surfaces;
    DDrawLiveObjects live;
    DirectDraw* exclusive = nullptr;
};

Books& B() {
    static Books* books = new Books();
    return *books;
}

} // namespace

void TrackSurface(Surface* surface, bool alive) {
    auto& all = B().surfaces;
    if (alive) {
        all.push_back(surface);
    } else {
        all.erase(std::remove(all.begin(), all.end(), surface), all.end());
    }
    B().live.surfaces = static_cast<int>(all.size());
}

void TrackObject(DDrawLiveObjects delta) {
    B().live.direct_draws += delta.direct_draws;
    B().live.clippers += delta.clippers;
}

DDrawLiveObjects LiveObjects() {
    return B().live;
}

DirectDraw*& ExclusiveOwner() {
    return B().exclusive;
}

void LoseDisplaySurfaces() {
    for (Surface* surface : B().surfaces) {
        surface->Lose();
    }
}

// {15e65ec0-3b9c-11d2-b92f-00609797ea5b}, as in the SDK.
const GUID IID_IDirectDraw7 = {
    0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

HRESULT WINAPI DirectDrawCreateEx(GUID* driver, LPVOID* directDraw, REFIID iid, IUnknown* outer) {
    if (!directDraw) {
        return DDERR_INVALIDPARAMS;
    }
    *directDraw = nullptr;
    if (driver || outer || iid != IID_IDirectDraw7) {
        // Only the active display driver exists, objects are not aggregated, and only
        // DirectDraw 7 is implemented.
        return DDERR_INVALIDPARAMS;
    }
    if (HRESULT failure = InjectedFailure(DDrawCall::DirectDrawCreateEx)) {
        return failure;
    }
    *directDraw = static_cast<IDirectDraw7*>(new DirectDraw());
    return DD_OK;
}

DirectDraw::DirectDraw() {
    TrackObject({1, 0, 0});
    DisplayOnLost(LoseDisplaySurfaces);
}

DirectDraw::~DirectDraw() {
    if (ExclusiveOwner() == this) {
        ExclusiveOwner() = nullptr;
    }
    TrackObject({-1, 0, 0});
}

HRESULT DirectDraw::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (iid != IID_IDirectDraw7) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    *object = static_cast<IDirectDraw7*>(this);
    return S_OK;
}

ULONG DirectDraw::AddRef() {
    return ++refs_;
}

ULONG DirectDraw::Release() {
    const ULONG refs = --refs_;
    if (refs == 0) {
        delete this;
    }
    return refs;
}

HRESULT DirectDraw::CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) {
    if (!clipper) {
        return DDERR_INVALIDPARAMS;
    }
    *clipper = nullptr;
    if (flags != 0 || outer) {
        return DDERR_INVALIDPARAMS;
    }
    if (HRESULT failure = InjectedFailure(DDrawCall::CreateClipper)) {
        return failure;
    }
    *clipper = new Clipper();
    return DD_OK;
}

HRESULT DirectDraw::CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                                  IUnknown* outer) {
    if (!surface) {
        return DDERR_INVALIDPARAMS;
    }
    *surface = nullptr;
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2) || outer) {
        return DDERR_INVALIDPARAMS;
    }
    if (HRESULT failure = InjectedFailure(DDrawCall::CreateSurface)) {
        return failure;
    }
    const DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
    const PixelBuffer& display = DisplayPixels();

    if (caps & DDSCAPS_PRIMARYSURFACE) {
        if (!level_set_) {
            return DDERR_NOCOOPERATIVELEVELSET;
        }
        if (has_primary_) {
            return DDERR_PRIMARYSURFACEALREADYEXISTS;
        }
        if (desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT)) {
            return DDERR_INVALIDPARAMS; // the primary is the display, as large as it is
        }
        const bool flipping = (caps & DDSCAPS_FLIP) != 0;
        if (flipping) {
            if (!(caps & DDSCAPS_COMPLEX) || !(desc->dwFlags & DDSD_BACKBUFFERCOUNT) ||
                desc->dwBackBufferCount == 0) {
                return DDERR_INVALIDCAPS;
            }
            if (!exclusive_) {
                return DDERR_NOEXCLUSIVEMODE;
            }
            if (desc->dwBackBufferCount != 1) {
                return DDERR_INVALIDPARAMS; // one back buffer is all we make
            }
        }
        auto* primary = new Surface(this, caps | DDSCAPS_VISIBLE | DDSCAPS_FRONTBUFFER,
                                    display.format, display.width, display.height);
        if (flipping) {
            const DWORD back_caps = (caps & (DDSCAPS_3DDEVICE | DDSCAPS_FLIP | DDSCAPS_COMPLEX)) |
                                    DDSCAPS_BACKBUFFER | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
            primary->AttachBackBuffer(
                new Surface(this, back_caps, display.format, display.width, display.height, false));
        }
        has_primary_ = true;
        *surface = primary;
        return DD_OK;
    }

    constexpr DWORD kMaxSide = 16384;
    if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) ||
        desc->dwWidth == 0 || desc->dwHeight == 0 || desc->dwWidth > kMaxSide ||
        desc->dwHeight > kMaxSide) {
        return DDERR_INVALIDPARAMS;
    }
    PixelFormat format = display.format;
    if (desc->dwFlags & DDSD_PIXELFORMAT) {
        const DDPIXELFORMAT& pf = desc->ddpfPixelFormat;
        if (pf.dwSize != sizeof(DDPIXELFORMAT)) {
            return DDERR_INVALIDPIXELFORMAT;
        }
        const bool rgb = (pf.dwFlags & DDPF_RGB) != 0;
        if (pf.dwFlags & DDPF_FOURCC) {
            format = PixelFormat::FourCC16;
        } else if (rgb && pf.dwRGBBitCount == 16 && pf.dwRBitMask == 0xF800 &&
                   pf.dwGBitMask == 0x07E0 && pf.dwBBitMask == 0x001F) {
            format = PixelFormat::Rgb565;
        } else if (rgb && pf.dwRGBBitCount == 16 && pf.dwRBitMask == 0x7C00 &&
                   pf.dwGBitMask == 0x03E0 && pf.dwBBitMask == 0x001F) {
            format = PixelFormat::Rgb555;
        } else if (rgb && pf.dwRGBBitCount == 32 && pf.dwRBitMask == 0xFF0000 &&
                   pf.dwGBitMask == 0x00FF00 && pf.dwBBitMask == 0x0000FF) {
            format = PixelFormat::Xrgb8888;
        } else {
            return DDERR_INVALIDPIXELFORMAT;
        }
    }
    // Without a say, DirectDraw chooses display memory.
    const DWORD placed =
        (caps & DDSCAPS_SYSTEMMEMORY) ? caps : caps | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
    auto* made =
        new Surface(this, placed | DDSCAPS_OFFSCREENPLAIN, format,
                    static_cast<int32_t>(desc->dwWidth), static_cast<int32_t>(desc->dwHeight));
    if (format == PixelFormat::FourCC16) {
        made->KeepFourCCFormat(desc->ddpfPixelFormat);
    }
    *surface = made;
    return DD_OK;
}

HRESULT DirectDraw::GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) {
    if ((!driverCaps && !emulationCaps) || (driverCaps && driverCaps->dwSize != sizeof(DDCAPS)) ||
        (emulationCaps && emulationCaps->dwSize != sizeof(DDCAPS))) {
        return DDERR_INVALIDPARAMS;
    }
    if (HRESULT failure = InjectedFailure(DDrawCall::GetCaps)) {
        return failure;
    }
    for (LPDDCAPS caps : {driverCaps, emulationCaps}) {
        if (caps) {
            memset(caps, 0, sizeof(DDCAPS));
            caps->dwSize = sizeof(DDCAPS);
            caps->dwCaps2 = CanRenderWindowed() ? DDCAPS2_CANRENDERWINDOWED : 0;
        }
    }
    return DD_OK;
}

HRESULT DirectDraw::SetCooperativeLevel(HWND window, DWORD flags) {
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    const bool fullscreen = (flags & DDSCL_FULLSCREEN) != 0;
    const bool normal = (flags & DDSCL_NORMAL) != 0;
    if (exclusive != fullscreen || exclusive == normal) {
        return DDERR_INVALIDPARAMS;
    }
    RECT unused;
    if (exclusive && !UserWindowScreenRect(window, false, &unused)) {
        return DDERR_INVALIDPARAMS;
    }
    if (HRESULT failure = InjectedFailure(DDrawCall::SetCooperativeLevel)) {
        return failure;
    }
    if (exclusive) {
        if (ExclusiveOwner() && ExclusiveOwner() != this) {
            return DDERR_EXCLUSIVEMODEALREADYSET;
        }
        ExclusiveOwner() = this;
        const PixelBuffer& display = DisplayPixels();
        UserSetWindowRect(window, {0, 0, display.width, display.height});
    } else if (ExclusiveOwner() == this) {
        ExclusiveOwner() = nullptr;
    }
    exclusive_ = exclusive;
    window_ = window;
    level_set_ = true;
    return DD_OK;
}

HRESULT DirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                   DWORD flags) {
    if (HRESULT failure = InjectedFailure(DDrawCall::SetDisplayMode)) {
        return failure;
    }
    const PixelBuffer& display = DisplayPixels();
    // The host shows one mode; any other would show nothing, so it is refused.
    if (width != static_cast<DWORD>(display.width) ||
        height != static_cast<DWORD>(display.height) || bitsPerPixel != 16 ||
        (refreshRate != 0 && refreshRate != 60) || flags != 0) {
        return DDERR_INVALIDMODE;
    }
    // The window of the exclusive mode covers the display in its new mode; it already does
    // when the mode is the one it had, and then it hears nothing.
    if (exclusive_) {
        UserSetWindowRect(window_, {0, 0, display.width, display.height});
    }
    return DD_OK;
}
