// Helpers for tests that use DirectDraw.
#include "support/ddraw_helpers.h"

#include "ddraw/ddraw_testing.h"

#include <stdio.h>
#include <string.h>

std::string HresultName(HRESULT hr) {
    struct Name {
        HRESULT hr;
        const char* name;
    };
#define ZOBU_NAME(code)                                                                            \
    { code, #code }
    static const Name names[] = {
        // clang-format off
        ZOBU_NAME(DD_OK), ZOBU_NAME(E_FAIL), ZOBU_NAME(E_POINTER), ZOBU_NAME(E_NOTIMPL),
        ZOBU_NAME(E_OUTOFMEMORY), {E_INVALIDARG, "E_INVALIDARG/DDERR_INVALIDPARAMS"},
        ZOBU_NAME(DDERR_INVALIDCAPS), ZOBU_NAME(DDERR_INVALIDMODE), ZOBU_NAME(DDERR_INVALIDPIXELFORMAT),
        ZOBU_NAME(DDERR_INVALIDRECT), ZOBU_NAME(DDERR_NOCLIPLIST), ZOBU_NAME(DDERR_NOCOOPERATIVELEVELSET),
        ZOBU_NAME(DDERR_NOCOLORKEY), ZOBU_NAME(DDERR_NOEXCLUSIVEMODE), ZOBU_NAME(DDERR_NOTFOUND),
        ZOBU_NAME(DDERR_SURFACEBUSY), ZOBU_NAME(DDERR_SURFACELOST), ZOBU_NAME(DDERR_PRIMARYSURFACEALREADYEXISTS),
        ZOBU_NAME(DDERR_NOCLIPPERATTACHED), ZOBU_NAME(DDERR_BLTFASTCANTCLIP), ZOBU_NAME(DDERR_EXCLUSIVEMODEALREADYSET),
        ZOBU_NAME(DDERR_NOTLOCKED), ZOBU_NAME(DDERR_CANTCREATEDC), ZOBU_NAME(DDERR_NODC),
        ZOBU_NAME(DDERR_DCALREADYCREATED),
        // clang-format on
    };
#undef ZOBU_NAME
    char text[80];
    for (const Name& n : names) {
        if (n.hr == hr) {
            snprintf(text, sizeof text, "%s (0x%08x)", n.name, static_cast<unsigned>(hr));
            return text;
        }
    }
    snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(hr));
    return text;
}

IDirectDraw7* NewDirectDraw() {
    IDirectDraw7* dd = nullptr;
    EXPECT_HR(DD_OK, DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd), IID_IDirectDraw7,
                                        nullptr));
    return dd;
}

DDSURFACEDESC2 EmptyDesc() {
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    return desc;
}

void MakePrimary(IDirectDraw7* dd, IDirectDrawSurface7** primary, IDirectDrawSurface7** back) {
    DDSURFACEDESC2 desc = EmptyDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps =
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    desc.dwBackBufferCount = 1;
    ASSERT_HR(DD_OK, dd->CreateSurface(&desc, primary, nullptr));
    DDSCAPS2 caps = {};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    ASSERT_HR(DD_OK, (*primary)->GetAttachedSurface(&caps, back));
}

IDirectDrawSurface7* MakeSurface(IDirectDraw7* dd, DWORD width, DWORD height, int bits,
                                 DWORD caps) {
    DDSURFACEDESC2 desc = EmptyDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = caps;
    desc.dwWidth = width;
    desc.dwHeight = height;
    if (bits) {
        desc.dwFlags |= DDSD_PIXELFORMAT;
        DDPIXELFORMAT& pf = desc.ddpfPixelFormat;
        pf.dwSize = sizeof pf;
        pf.dwFlags = DDPF_RGB;
        pf.dwRGBBitCount = bits == 32 ? 32 : 16;
        pf.dwRBitMask = bits == 32 ? 0xFF0000 : bits == 16 ? 0xF800 : 0x7C00;
        pf.dwGBitMask = bits == 32 ? 0x00FF00 : bits == 16 ? 0x07E0 : 0x03E0;
        pf.dwBBitMask = bits == 32 ? 0x0000FF : 0x001F;
    }
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_HR(DD_OK, dd->CreateSurface(&desc, &surface, nullptr));
    return surface;
}

DWORD ReadPixel(IDirectDrawSurface7* surface, int x, int y) {
    DDSURFACEDESC2 desc = EmptyDesc();
    if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) {
        return 0xFFFFFFFF;
    }
    const uint8_t* row = static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch;
    DWORD value = 0;
    memcpy(&value, row + x * (desc.ddpfPixelFormat.dwRGBBitCount / 8),
           desc.ddpfPixelFormat.dwRGBBitCount / 8);
    surface->Unlock(nullptr);
    return value;
}

void Fill(IDirectDrawSurface7* surface, DWORD raw, RECT* rect) {
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = raw;
    EXPECT_HR(DD_OK, surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL, &fx));
}

int CountPixels(IDirectDrawSurface7* surface, RECT area, DWORD raw) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += ReadPixel(surface, x, y) == raw;
        }
    }
    return count;
}

std::vector<DWORD> TopRow(IDirectDrawSurface7* surface, int width) {
    std::vector<DWORD> row;
    for (int x = 0; x < width; ++x) {
        row.push_back(ReadPixel(surface, x, 0));
    }
    return row;
}

void FillTopRow(IDirectDrawSurface7* surface, const std::vector<DWORD>& raw) {
    for (LONG x = 0; x < static_cast<LONG>(raw.size()); ++x) {
        RECT r = {x, 0, x + 1, 1};
        Fill(surface, raw[static_cast<size_t>(x)], &r);
    }
}

void ExpectAllReleased() {
    const DDrawLiveObjects live = DDrawLive();
    EXPECT_EQ(live.direct_draws, 0) << "references must come back to zero";
    EXPECT_EQ(live.surfaces, 0);
    EXPECT_EQ(live.clippers, 0);
}

ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

void DirectDrawTest::SetUp() {
    PlatformTest::SetUp();
    window = MakeWindow(WS_POPUP | WS_VISIBLE);
    dd = NewDirectDraw();
    EXPECT_HR(DD_OK, dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    EXPECT_HR(DD_OK, dd->SetDisplayMode(640, 480, 16, 0, 0));
}

IDirectDrawSurface7* DirectDrawTest::Surface(DWORD width, DWORD height, int bits, DWORD caps) {
    surfaces_.push_back(MakeSurface(dd, width, height, bits, caps));
    return surfaces_.back();
}

void DirectDrawTest::TearDown() {
    for (IDirectDrawSurface7* surface : surfaces_) {
        surface->Release();
    }
    if (dd) {
        EXPECT_EQ(dd->Release(), 0u);
    }
    ExpectAllReleased();
    PlatformTest::TearDown();
}
