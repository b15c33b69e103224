// Conformance: our DirectDraw's result codes, references, blits and clipping.
#include "support/ddraw_helpers.h"
#include "support/platform_fixture.h"

#include "ddraw/ddraw_testing.h"

namespace {

using DDrawTest = DirectDrawTest;

TEST_F(DDrawTest, SetCooperativeLevel_ExclusiveFullScreen_WindowCoversTheDisplay) {
    EXPECT_EQ(ClientRectOf(window), (RECT{0, 0, 640, 480}));
    EXPECT_HR(DDERR_INVALIDPARAMS, dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE));
    EXPECT_HR(DDERR_INVALIDPARAMS,
              dd->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    IDirectDraw7* other = nullptr;
    DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&other), IID_IDirectDraw7, nullptr);
    EXPECT_HR(DDERR_EXCLUSIVEMODEALREADYSET,
              other->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    EXPECT_HR(DD_OK, dd->SetCooperativeLevel(window, DDSCL_NORMAL)); // hands the display back
    EXPECT_HR(DD_OK, other->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    EXPECT_EQ(other->Release(), 0u);
}

TEST_F(DDrawTest, SetDisplayMode_OnlyTheHostsMode) {
    struct Row {
        DWORD width, height, bits;
        HRESULT expected;
    };
    static const Row rows[] = {
        {640, 480, 16, DD_OK},
        {640, 480, 32, DDERR_INVALIDMODE},
        {640, 480, 8, DDERR_INVALIDMODE},
        {800, 600, 16, DDERR_INVALIDMODE},
        {320, 240, 8, DDERR_INVALIDMODE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << "x" << row.bits);
        EXPECT_HR(row.expected, dd->SetDisplayMode(row.width, row.height, row.bits, 0, 0));
    }
}

TEST_F(DDrawTest, CreateSurface_InvalidDescriptions_FailWithExactCodes) {
    struct Row {
        const char* name;
        DWORD size, flags, caps, width, height, backs;
        HRESULT expected;
    };
    const DWORD full = sizeof(DDSURFACEDESC2);
    const DWORD plain = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    static const Row rows[] = {
        {"size one short", full - 1, plain, DDSCAPS_OFFSCREENPLAIN, 8, 8, 0, DDERR_INVALIDPARAMS},
        {"size zero", 0, plain, DDSCAPS_OFFSCREENPLAIN, 8, 8, 0, DDERR_INVALIDPARAMS},
        {"no height", full, DDSD_CAPS | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN, 8, 0, 0,
         DDERR_INVALIDPARAMS},
        {"zero width", full, plain, DDSCAPS_OFFSCREENPLAIN, 0, 8, 0, DDERR_INVALIDPARAMS},
        {"flip without back buffers", full, DDSD_CAPS,
         DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 0, 0, 0, DDERR_INVALIDCAPS},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DDSURFACEDESC2 desc = {};
        desc.dwSize = row.size;
        desc.dwFlags = row.flags;
        desc.ddsCaps.dwCaps = row.caps;
        desc.dwWidth = row.width;
        desc.dwHeight = row.height;
        desc.dwBackBufferCount = row.backs;
        auto* poisoned = reinterpret_cast<IDirectDrawSurface7*>(0xdeadbeef);
        IDirectDrawSurface7* surface = poisoned;
        EXPECT_HR(row.expected, dd->CreateSurface(&desc, &surface, nullptr));
        EXPECT_EQ(surface, nullptr) << "the out-pointer is cleared on failure";
    }
}

TEST_F(DDrawTest, CreateSurface_Primary_NeedsLevelExclusiveModeAndIsUnique) {
    IDirectDraw7* fresh = nullptr;
    DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&fresh), IID_IDirectDraw7, nullptr);
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_HR(DDERR_NOCOOPERATIVELEVELSET, fresh->CreateSurface(&desc, &surface, nullptr));
    fresh->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    desc.dwFlags |= DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps |= DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    EXPECT_HR(DDERR_NOEXCLUSIVEMODE, fresh->CreateSurface(&desc, &surface, nullptr));
    EXPECT_EQ(fresh->Release(), 0u);

    IDirectDrawSurface7 *primary = nullptr, *back = nullptr;
    MakePrimary(dd, &primary, &back);
    EXPECT_HR(DDERR_PRIMARYSURFACEALREADYEXISTS, dd->CreateSurface(&desc, &surface, nullptr));
    back->Release();
    EXPECT_EQ(primary->Release(), 0u);
}

// The primary owns its back buffer: GetAttachedSurface adds a reference and gives the same
// surface each time, and the back buffer ends with the primary.
TEST_F(DDrawTest, References_PrimaryHoldsItsBackBuffer) {
    IDirectDrawSurface7 *primary = nullptr, *back = nullptr, *again = nullptr;
    MakePrimary(dd, &primary, &back);
    DDSCAPS2 caps = {};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    ASSERT_HR(DD_OK, primary->GetAttachedSurface(&caps, &again));
    EXPECT_EQ(again, back);
    EXPECT_EQ(back->AddRef(), 4u); // the primary's, two GetAttachedSurface, this one
    EXPECT_EQ(back->Release(), 3u);
    // The primary holds its DirectDraw object; its implicit back buffer holds none of its
    // own, as in DirectDraw 7.
    EXPECT_EQ(dd->AddRef(), 3u);
    EXPECT_EQ(dd->Release(), 2u);
    EXPECT_EQ(DDrawLive().surfaces, 2);
    back->Release();
    back->Release();
    EXPECT_EQ(DDrawLive().surfaces, 2); // still attached
    EXPECT_EQ(primary->Release(), 0u);
    EXPECT_EQ(DDrawLive().surfaces, 0);
    // A surface with nothing attached: not found, and the out-pointer cleared.
    IDirectDrawSurface7* plain = MakeSurface(dd, 4, 4);
    again = reinterpret_cast<IDirectDrawSurface7*>(0xdeadbeef);
    EXPECT_HR(DDERR_NOTFOUND, plain->GetAttachedSurface(&caps, &again));
    EXPECT_EQ(again, nullptr);
    EXPECT_EQ(plain->Release(), 0u);
}

TEST_F(DDrawTest, SetClipper_AddsAReferenceAndReleasesItWithTheSurface) {
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_HR(DD_OK, dd->CreateClipper(0, &clipper, nullptr));
    IDirectDrawSurface7* surface = MakeSurface(dd, 4, 4);
    ASSERT_HR(DD_OK, surface->SetClipper(clipper));
    EXPECT_EQ(RefCount(clipper), 2u);
    EXPECT_EQ(clipper->Release(), 1u); // the surface's reference is the only one now
    ASSERT_HR(DD_OK, surface->SetClipper(clipper)) << "the same one again";
    EXPECT_EQ(DDrawLive().clippers, 1);
    EXPECT_EQ(surface->Release(), 0u);
    EXPECT_EQ(DDrawLive().clippers, 0);
}

// A surface whose DC is out is held by GDI.
TEST_F(DDrawTest, GetDC_SurfaceHeld_OtherCallsRefused) {
    IDirectDrawSurface7* surface = MakeSurface(dd, 8, 8);
    IDirectDrawSurface7* source = MakeSurface(dd, 2, 2);
    HDC dc = nullptr;
    ASSERT_HR(DD_OK, surface->GetDC(&dc));
    HDC second = reinterpret_cast<HDC>(0xdeadbeef);
    EXPECT_HR(DDERR_DCALREADYCREATED, surface->GetDC(&second));
    EXPECT_EQ(second, reinterpret_cast<HDC>(0xdeadbeef)) << "the out-parameter is left alone";
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    EXPECT_HR(DDERR_SURFACEBUSY, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_HR(DDERR_SURFACEBUSY, surface->BltFast(0, 0, source, nullptr, 0));
    EXPECT_HR(DDERR_NODC, surface->ReleaseDC(reinterpret_cast<HDC>(0x1234)));
    EXPECT_HR(DD_OK, surface->ReleaseDC(dc));
    EXPECT_HR(DDERR_NODC, surface->ReleaseDC(dc));
    EXPECT_HR(DDERR_NOTLOCKED, surface->Unlock(nullptr));
    ASSERT_HR(DD_OK, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_HR(DDERR_SURFACEBUSY, surface->GetDC(&dc));
    EXPECT_HR(DD_OK, surface->Unlock(nullptr));
    source->Release();
    surface->Release();
}

// The description tells where the surface lives: system memory when asked, display memory
// when not. A description of the wrong size is refused.
TEST_F(DDrawTest, GetSurfaceDesc_PlacementInTheCaps_WrongSizeRefused) {
    IDirectDrawSurface7* surface = MakeSurface(dd, 8, 8);
    IDirectDrawSurface7* in_display = MakeSurface(dd, 8, 8, 0, DDSCAPS_OFFSCREENPLAIN);
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    ASSERT_HR(DD_OK, surface->GetSurfaceDesc(&desc));
    EXPECT_EQ(desc.ddsCaps.dwCaps & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY),
              static_cast<DWORD>(DDSCAPS_SYSTEMMEMORY));
    ASSERT_HR(DD_OK, in_display->GetSurfaceDesc(&desc));
    EXPECT_EQ(desc.ddsCaps.dwCaps & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY),
              static_cast<DWORD>(DDSCAPS_VIDEOMEMORY));
    desc.dwSize = sizeof desc - 4;
    EXPECT_HR(DDERR_INVALIDPARAMS, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_HR(DDERR_INVALIDPARAMS, surface->GetSurfaceDesc(&desc));
    in_display->Release();
    surface->Release();
}

TEST_F(DDrawTest, BltFast_NeverClips) {
    IDirectDrawSurface7* dest = MakeSurface(dd, 16, 16);
    IDirectDrawSurface7* source = MakeSurface(dd, 8, 8);
    struct Row {
        const char* name;
        DWORD x, y;
        HRESULT expected;
    };
    static const Row rows[] = {
        {"inside", 8, 8, DD_OK},
        {"one column over", 9, 0, DDERR_INVALIDRECT},
        {"one row over", 0, 9, DDERR_INVALIDRECT},
        {"negative as unsigned", 0xFFFFFFFF, 0, DDERR_INVALIDRECT},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_HR(row.expected, dest->BltFast(row.x, row.y, source, nullptr, DDBLTFAST_WAIT));
    }
    RECT outside = {4, 4, 9, 9};
    EXPECT_HR(DDERR_INVALIDRECT, dest->BltFast(0, 0, source, &outside, 0));
    IDirectDrawClipper* clipper = nullptr;
    dd->CreateClipper(0, &clipper, nullptr);
    dest->SetClipper(clipper);
    clipper->Release();
    EXPECT_HR(DDERR_BLTFASTCANTCLIP, dest->BltFast(0, 0, source, nullptr, 0));
    source->Release();
    dest->Release();
}

TEST_F(DDrawTest, BltFast_SourceColorKey_LeavesKeyedPixelsAlone) {
    IDirectDrawSurface7* dest = MakeSurface(dd, 2, 1);
    IDirectDrawSurface7* sprite = MakeSurface(dd, 2, 1);
    Fill(dest, 0x1111);
    RECT left = {0, 0, 1, 1}, right = {1, 0, 2, 1};
    Fill(sprite, 0xF81F, &left);
    Fill(sprite, 0x07E0, &right);
    DDCOLORKEY key = {0xF81F, 0xF81F};
    ASSERT_HR(DD_OK, sprite->SetColorKey(DDCKEY_SRCBLT, &key));
    ASSERT_HR(DD_OK, dest->BltFast(0, 0, sprite, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT));
    EXPECT_EQ(ReadPixel(dest, 0, 0), 0x1111u);
    EXPECT_EQ(ReadPixel(dest, 1, 0), 0x07E0u);
    ASSERT_HR(DD_OK, dest->BltFast(0, 0, sprite, nullptr, DDBLTFAST_WAIT | DDBLTFAST_NOCOLORKEY));
    EXPECT_EQ(ReadPixel(dest, 0, 0), 0xF81Fu) << "waiting is no reason to key";
    sprite->Release();
    dest->Release();
}

// Rows long enough to be keyed many pixels at a time, with a few left over: the key is
// honoured in every position, in both pixel sizes.
TEST_F(DDrawTest, BltFast_SourceColorKey_LongRowsInEveryPosition) {
    struct Row {
        const char* name;
        int bits;
        DWORD key, background;
    };
    static const Row rows[] = {{"16-bit", 16, 0xF81F, 0x1111},
                               {"32-bit", 32, 0x00FF00FF, 0x111111}};
    const int width = 37;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IDirectDrawSurface7* sprite = MakeSurface(dd, width, 1, row.bits);
        IDirectDrawSurface7* dest = MakeSurface(dd, width, 1, row.bits);
        Fill(dest, row.background);
        for (LONG x = 0; x < width; ++x) {
            RECT r = {x, 0, x + 1, 1};
            Fill(sprite, x % 3 == 1 ? row.key : static_cast<DWORD>(x + 1), &r);
        }
        DDCOLORKEY key = {row.key, row.key};
        ASSERT_HR(DD_OK, sprite->SetColorKey(DDCKEY_SRCBLT, &key));
        ASSERT_HR(DD_OK, dest->BltFast(0, 0, sprite, nullptr, DDBLTFAST_SRCCOLORKEY));
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(ReadPixel(dest, x, 0),
                      x % 3 == 1 ? row.background : static_cast<DWORD>(x + 1))
                << "pixel " << x;
        }
        sprite->Release();
        dest->Release();
    }
}

TEST_F(DDrawTest, Blt_Stretch_SamplesByFloorEachWay) {
    struct Row {
        const char* name;
        DWORD source_w, source_h, dest_w, dest_h;
    };
    static const Row rows[] = {{"across", 3, 1, 7, 1}, {"down", 1, 3, 1, 7}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IDirectDrawSurface7* source = MakeSurface(dd, row.source_w, row.source_h);
        IDirectDrawSurface7* dest = MakeSurface(dd, row.dest_w, row.dest_h);
        for (LONG i = 0; i < 3; ++i) {
            RECT r = row.source_w > 1 ? RECT{i, 0, i + 1, 1} : RECT{0, i, 1, i + 1};
            Fill(source, static_cast<DWORD>(100 + i), &r);
        }
        ASSERT_HR(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
        std::vector<DWORD> got;
        for (int i = 0; i < 7; ++i) {
            got.push_back(ReadPixel(dest, row.dest_w > 1 ? i : 0, row.dest_w > 1 ? 0 : i) - 100);
        }
        EXPECT_EQ(got, (std::vector<DWORD>{0, 0, 0, 1, 1, 2, 2}));
        source->Release();
        dest->Release();
    }
}

// Blt keys only when asked to, with DDBLT_KEYSRC, and then only where the source holds the
// key; copying and stretching alike. A source with no key set has nothing to leave out.
TEST_F(DDrawTest, Blt_KeySrc_LeavesKeyedPixelsAlone) {
    IDirectDrawSurface7* sprite = MakeSurface(dd, 2, 1);
    IDirectDrawSurface7* unkeyed = MakeSurface(dd, 2, 1);
    RECT left = {0, 0, 1, 1}, right = {1, 0, 2, 1};
    Fill(sprite, 0xF81F, &left);
    Fill(sprite, 0x07E0, &right);
    Fill(unkeyed, 0x0000, &left); // black: what a key never set would hold
    Fill(unkeyed, 0x07E0, &right);
    DDCOLORKEY key = {0xF81F, 0xF81F};
    ASSERT_HR(DD_OK, sprite->SetColorKey(DDCKEY_SRCBLT, &key));
    struct Row {
        const char* name;
        IDirectDrawSurface7* source;
        DWORD width, flags;
        std::vector<DWORD> expected;
    };
    const Row rows[] = {
        {"copy, keyed", sprite, 2, DDBLT_WAIT | DDBLT_KEYSRC, {0x1111, 0x07E0}},
        {"copy, not keyed", sprite, 2, DDBLT_WAIT, {0xF81F, 0x07E0}},
        {"stretch, keyed", sprite, 4, DDBLT_WAIT | DDBLT_KEYSRC, {0x1111, 0x1111, 0x07E0, 0x07E0}},
        {"keyed, no key set", unkeyed, 2, DDBLT_WAIT | DDBLT_KEYSRC, {0x0000, 0x07E0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IDirectDrawSurface7* dest = MakeSurface(dd, row.width, 1);
        Fill(dest, 0x1111);
        ASSERT_HR(DD_OK, dest->Blt(nullptr, row.source, nullptr, row.flags, nullptr));
        std::vector<DWORD> got;
        for (DWORD x = 0; x < row.width; ++x) {
            got.push_back(ReadPixel(dest, static_cast<int>(x), 0));
        }
        EXPECT_EQ(got, row.expected);
        dest->Release();
    }
    sprite->Release();
    unkeyed->Release();
}

TEST_F(DDrawTest, Blt_ColorFillAndRects_ExactCodes) {
    IDirectDrawSurface7* surface = MakeSurface(dd, 4, 4);
    IDirectDrawSurface7* other = MakeSurface(dd, 4, 4, 32);
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx - 1;
    EXPECT_HR(DDERR_INVALIDPARAMS, surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx));
    EXPECT_HR(DDERR_INVALIDPARAMS,
              surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr));
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0xABCD1234; // the surface's 16 bits of it
    EXPECT_HR(DD_OK, surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx));
    EXPECT_EQ(ReadPixel(surface, 3, 3), 0x1234u);
    RECT outside = {2, 2, 5, 5};
    EXPECT_HR(DDERR_INVALIDRECT, surface->Blt(&outside, nullptr, nullptr, DDBLT_COLORFILL, &fx));
    EXPECT_HR(DDERR_INVALIDPARAMS, surface->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_HR(DDERR_INVALIDPIXELFORMAT, surface->Blt(nullptr, other, nullptr, DDBLT_WAIT, nullptr));
    other->Release();
    surface->Release();
}

TEST_F(DDrawTest, LostSurfaces_RefuseUntilRestored) {
    IDirectDrawSurface7* surface = MakeSurface(dd, 4, 4, 0, DDSCAPS_OFFSCREENPLAIN);
    IDirectDrawSurface7* source = MakeSurface(dd, 4, 4, 0, DDSCAPS_OFFSCREENPLAIN);
    IDirectDrawSurface7* in_system_memory = MakeSurface(dd, 4, 4);
    Fill(in_system_memory, 0x1234);
    Fill(surface, 0x5678);
    IDirectDrawSurface7 *primary = nullptr, *back = nullptr;
    MakePrimary(dd, &primary, &back);
    DDrawLoseSurfaces();
    EXPECT_HR(DD_OK, in_system_memory->IsLost()) << "system memory is not taken away";
    EXPECT_EQ(ReadPixel(in_system_memory, 3, 3), 0x1234u);
    EXPECT_HR(DDERR_SURFACELOST, back->IsLost());
    EXPECT_HR(DD_OK, primary->Restore());
    EXPECT_HR(DD_OK, back->IsLost()) << "restored with its primary";
    back->Release();
    primary->Release();
    in_system_memory->Release();
    HDC dc = reinterpret_cast<HDC>(0xdeadbeef);
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    EXPECT_HR(DDERR_SURFACELOST, surface->IsLost());
    EXPECT_HR(DDERR_SURFACELOST, surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx));
    EXPECT_HR(DDERR_SURFACELOST, surface->BltFast(0, 0, source, nullptr, 0));
    EXPECT_HR(DDERR_SURFACELOST, surface->GetDC(&dc));
    EXPECT_HR(DDERR_SURFACELOST, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_HR(DD_OK, surface->Restore());
    EXPECT_HR(DD_OK, surface->IsLost());
    EXPECT_NE(ReadPixel(surface, 3, 3), 0x5678u) << "the memory comes back, not what it held";
    EXPECT_HR(DDERR_SURFACELOST, surface->BltFast(0, 0, source, nullptr, 0)) << "source still lost";
    source->Restore();
    EXPECT_HR(DD_OK, surface->BltFast(0, 0, source, nullptr, 0));
    source->Release();
    surface->Release();
}

TEST_F(DDrawTest, GetCaps_CanRenderWindowed_UnlessTakenAway) {
    DDCAPS caps = {};
    caps.dwSize = sizeof caps;
    ASSERT_HR(DD_OK, dd->GetCaps(&caps, nullptr));
    EXPECT_EQ(caps.dwCaps2 & DDCAPS2_CANRENDERWINDOWED,
              static_cast<DWORD>(DDCAPS2_CANRENDERWINDOWED));
    DDrawSetCanRenderWindowed(false);
    ASSERT_HR(DD_OK, dd->GetCaps(&caps, nullptr));
    EXPECT_EQ(caps.dwCaps2 & DDCAPS2_CANRENDERWINDOWED, 0u);
    caps.dwSize = 100;
    EXPECT_HR(DDERR_INVALIDPARAMS, dd->GetCaps(&caps, nullptr));
    EXPECT_EQ(sizeof(DDCAPS), 380u); // all 32-bit fields, on every platform
}

} // namespace
