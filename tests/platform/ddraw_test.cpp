// Conformance: our DirectDraw's result codes, references, blits and lost surfaces.
#include "support/ddraw_helpers.h"
#include "support/platform_fixture.h"

#include "ddraw/keyed_copy.h"
#include "host/headless/headless.h"

#include "ddraw/ddraw_testing.h"

#include <tuple>

namespace {

using DDrawTest = DirectDrawTest;

static_assert(sizeof(DDCAPS) == 380, "all 32-bit fields, on every platform, as in Windows");

// Exclusive full-screen mode makes the window cover the display, for one DirectDraw object
// at a time, until it hands the display back; the display has the host's mode only.
TEST_F(DDrawTest, CooperativeLevelAndMode_OneOwnerTheHostsModeOnly) {
    EXPECT_EQ(ClientRectOf(window), (RECT{0, 0, 640, 480}));
    EXPECT_HR(DDERR_INVALIDPARAMS, dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE));
    EXPECT_HR(DDERR_INVALIDPARAMS,
              dd->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    IDirectDraw7* other = NewDirectDraw();
    EXPECT_HR(DDERR_EXCLUSIVEMODEALREADYSET,
              other->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    EXPECT_HR(DD_OK, dd->SetCooperativeLevel(window, DDSCL_NORMAL));
    EXPECT_HR(DD_OK, other->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    using Mode = std::tuple<DWORD, DWORD, DWORD, HRESULT>;
    static const Mode modes[] = {
        {640, 480, 16, DD_OK},
        {640, 480, 32, DDERR_INVALIDMODE},
        {640, 480, 8, DDERR_INVALIDMODE},
        {800, 600, 16, DDERR_INVALIDMODE},
        {320, 240, 8, DDERR_INVALIDMODE},
    };
    for (const auto& [width, height, bits, expected] : modes) {
        EXPECT_HR(expected, other->SetDisplayMode(width, height, bits, 0, 0))
            << width << "x" << height << "x" << bits;
    }
    EXPECT_EQ(other->Release(), 0u);
}

TEST_F(DDrawTest, CreateSurface_InvalidDescriptions_FailWithExactCodes) {
    using Row = std::tuple<const char*, DWORD, DWORD, DWORD, DWORD, DWORD, HRESULT>;
    const DWORD full = sizeof(DDSURFACEDESC2);
    const DWORD plain = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    static const Row rows[] = {
        {"size one short", full - 1, plain, DDSCAPS_OFFSCREENPLAIN, 8, 8, DDERR_INVALIDPARAMS},
        {"size zero", 0, plain, DDSCAPS_OFFSCREENPLAIN, 8, 8, DDERR_INVALIDPARAMS},
        {"no height", full, DDSD_CAPS | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN, 8, 0,
         DDERR_INVALIDPARAMS},
        {"zero width", full, plain, DDSCAPS_OFFSCREENPLAIN, 0, 8, DDERR_INVALIDPARAMS},
        {"flip without back buffers", full, DDSD_CAPS,
         DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 0, 0, DDERR_INVALIDCAPS},
    };
    for (const auto& [name, size, flags, caps, width, height, expected] : rows) {
        SCOPED_TRACE(name);
        DDSURFACEDESC2 desc = {};
        desc.dwSize = size;
        desc.dwFlags = flags;
        desc.ddsCaps.dwCaps = caps;
        desc.dwWidth = width;
        desc.dwHeight = height;
        IDirectDrawSurface7* surface = reinterpret_cast<IDirectDrawSurface7*>(0xdeadbeef);
        EXPECT_HR(expected, dd->CreateSurface(&desc, &surface, nullptr));
        EXPECT_EQ(surface, nullptr) << "the out-pointer is cleared on failure";
    }
}

// The primary needs a cooperative level, and exclusive mode to flip; there is one. It owns
// its back buffer: GetAttachedSurface adds a reference and gives the same surface each time,
// and the back buffer ends with the primary.
TEST_F(DDrawTest, Primary_NeedsExclusiveModeIsUniqueAndHoldsItsBackBuffer) {
    IDirectDraw7* fresh = NewDirectDraw();
    DDSURFACEDESC2 desc = EmptyDesc();
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface7 *surface = nullptr, *primary = nullptr, *back = nullptr, *again = nullptr;
    EXPECT_HR(DDERR_NOCOOPERATIVELEVELSET, fresh->CreateSurface(&desc, &surface, nullptr));
    fresh->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    desc.dwFlags |= DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps |= DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    EXPECT_HR(DDERR_NOEXCLUSIVEMODE, fresh->CreateSurface(&desc, &surface, nullptr));
    EXPECT_EQ(fresh->Release(), 0u);
    MakePrimary(dd, &primary, &back);
    EXPECT_HR(DDERR_PRIMARYSURFACEALREADYEXISTS, dd->CreateSurface(&desc, &surface, nullptr));

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
    back->Release();
    back->Release();
    EXPECT_EQ(DDrawLive().surfaces, 2); // still attached
    EXPECT_EQ(primary->Release(), 0u);
    EXPECT_EQ(DDrawLive().surfaces, 0);
    again = reinterpret_cast<IDirectDrawSurface7*>(0xdeadbeef);
    EXPECT_HR(DDERR_NOTFOUND, Surface(4, 4)->GetAttachedSurface(&caps, &again));
    EXPECT_EQ(again, nullptr) << "nothing attached: the out-pointer cleared";
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

// What each call answers on a surface held by GDI (its DC out), held by its locker, or lost,
// and on one that is free; as Wine's ddraw tests lay such cases out, a row a state.
TEST_F(DDrawTest, HeldOrLostSurface_EachCallsAnswer) {
    enum State { kFree, kDcOut, kLocked, kLost };
    enum Call { kGetDC, kLock, kBlt, kBltFast, kReleaseDC, kUnlock, kCalls };
    static const char* const kCallNames[kCalls] = {"GetDC",   "Lock",      "Blt",
                                                   "BltFast", "ReleaseDC", "Unlock"};
    const struct {
        const char* name;
        State state;
        HRESULT answer[kCalls];
    } rows[] = {
        // clang-format off
        {"free", kFree, {DD_OK, DD_OK, DD_OK, DD_OK, DDERR_NODC, DDERR_NOTLOCKED}},
        {"DC out", kDcOut, {DDERR_DCALREADYCREATED, DDERR_SURFACEBUSY, DDERR_SURFACEBUSY, DDERR_SURFACEBUSY, DD_OK, DDERR_NOTLOCKED}},
        {"locked", kLocked, {DDERR_SURFACEBUSY, DDERR_SURFACEBUSY, DDERR_SURFACEBUSY, DDERR_SURFACEBUSY, DDERR_NODC, DD_OK}},
        {"lost", kLost, {DDERR_SURFACELOST, DDERR_SURFACELOST, DDERR_SURFACELOST, DDERR_SURFACELOST, DDERR_NODC, DDERR_NOTLOCKED}},
        // clang-format on
    };
    for (const auto& row : rows) {
        for (int call = 0; call < kCalls; ++call) {
            SCOPED_TRACE(std::string(row.name) + ", " + kCallNames[call]);
            IDirectDrawSurface7* surface = Surface(8, 8, 0, DDSCAPS_OFFSCREENPLAIN);
            IDirectDrawSurface7* source = Surface(2, 2);
            HDC dc = nullptr;
            DDSURFACEDESC2 desc = EmptyDesc();
            if (row.state == kDcOut) {
                ASSERT_HR(DD_OK, surface->GetDC(&dc));
            } else if (row.state == kLocked) {
                ASSERT_HR(DD_OK, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
            } else if (row.state == kLost) {
                LoseTheDisplay();
                source->Restore();
            }
            HDC out = reinterpret_cast<HDC>(0xdeadbeef);
            DDBLTFX fx = {};
            fx.dwSize = sizeof fx;
            const HRESULT answers[kCalls] = {
                call == kGetDC ? surface->GetDC(&out) : DD_OK,
                call == kLock ? surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) : DD_OK,
                call == kBlt ? surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx)
                             : DD_OK,
                call == kBltFast ? surface->BltFast(0, 0, source, nullptr, 0) : DD_OK,
                call == kReleaseDC ? surface->ReleaseDC(dc) : DD_OK,
                call == kUnlock ? surface->Unlock(nullptr) : DD_OK,
            };
            EXPECT_HR(row.answer[call], answers[call]);
            if (call == kGetDC && FAILED(answers[call])) {
                EXPECT_EQ(out, reinterpret_cast<HDC>(0xdeadbeef)) << "the out-parameter stays";
            }
            // Whatever DC is out and whatever lock is held go back (the others are refused).
            surface->ReleaseDC(row.state == kDcOut ? dc : out);
            surface->Unlock(nullptr);
        }
    }
}

// The description tells where a surface lives: system memory when asked, display memory when
// not; one of the wrong size is refused.
TEST_F(DDrawTest, Description_TellsThePlacement) {
    IDirectDrawSurface7* surface = Surface(8, 8);
    DDSURFACEDESC2 desc = EmptyDesc();
    EXPECT_HR(DDERR_NODC, surface->ReleaseDC(reinterpret_cast<HDC>(0x1234)));
    const DWORD placement = DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY;
    ASSERT_HR(DD_OK, surface->GetSurfaceDesc(&desc));
    EXPECT_EQ(desc.ddsCaps.dwCaps & placement, static_cast<DWORD>(DDSCAPS_SYSTEMMEMORY));
    ASSERT_HR(DD_OK, Surface(8, 8, 0, DDSCAPS_OFFSCREENPLAIN)->GetSurfaceDesc(&desc));
    EXPECT_EQ(desc.ddsCaps.dwCaps & placement, static_cast<DWORD>(DDSCAPS_VIDEOMEMORY));
    desc.dwSize = sizeof desc - 4;
    EXPECT_HR(DDERR_INVALIDPARAMS, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_HR(DDERR_INVALIDPARAMS, surface->GetSurfaceDesc(&desc));
}

// BltFast never clips: what does not fit is refused, and a clipper is refused outright. It
// keys only when asked to, however it is told to wait.
TEST_F(DDrawTest, BltFast_NeverClips_KeysWhenAsked) {
    IDirectDrawSurface7* dest = Surface(16, 16);
    IDirectDrawSurface7* source = Surface(8, 8);
    using Place = std::tuple<DWORD, DWORD, HRESULT>;
    static const Place places[] = {
        {8, 8, DD_OK},
        {9, 0, DDERR_INVALIDRECT},
        {0, 9, DDERR_INVALIDRECT},
        {0xFFFFFFFF, 0, DDERR_INVALIDRECT},
    };
    for (const auto& [x, y, expected] : places) {
        EXPECT_HR(expected, dest->BltFast(x, y, source, nullptr, DDBLTFAST_WAIT)) << x << ", " << y;
    }
    RECT outside = {4, 4, 9, 9};
    EXPECT_HR(DDERR_INVALIDRECT, dest->BltFast(0, 0, source, &outside, 0));
    IDirectDrawClipper* clipper = nullptr;
    dd->CreateClipper(0, &clipper, nullptr);
    dest->SetClipper(clipper);
    clipper->Release();
    EXPECT_HR(DDERR_BLTFASTCANTCLIP, dest->BltFast(0, 0, source, nullptr, 0));

    IDirectDrawSurface7* to = Surface(2, 1);
    IDirectDrawSurface7* sprite = Surface(2, 1);
    Fill(to, 0x1111);
    FillTopRow(sprite, {0xF81F, 0x07E0});
    DDCOLORKEY key = {0xF81F, 0xF81F};
    ASSERT_HR(DD_OK, sprite->SetColorKey(DDCKEY_SRCBLT, &key));
    ASSERT_HR(DD_OK, to->BltFast(0, 0, sprite, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT));
    EXPECT_EQ(TopRow(to, 2), (std::vector<DWORD>{0x1111, 0x07E0}));
    ASSERT_HR(DD_OK, to->BltFast(0, 0, sprite, nullptr, DDBLTFAST_WAIT | DDBLTFAST_NOCOLORKEY));
    EXPECT_EQ(ReadPixel(to, 0, 0), 0xF81Fu) << "waiting is no reason to key";
}

// Every keyed-copy path against a pixel-by-pixel reference on the same pixels: rows of every
// width up to past two 32-byte vectors (the rows' ends), keys in every lane and whole vectors
// of them, pixels differing from the key in one bit of either half, and a block walked
// upwards through pitches that differ.
template <typename Pixel> void ExpectEveryPathKeysLikeTheReference(Pixel key) {
    constexpr int kRows = 3, kToPitch = 48, kFromPitch = 45; // pixels; past the widest row
    const Pixel near_key[2] = {static_cast<Pixel>(key ^ 1u), static_cast<Pixel>(key ^ 0x8000u)};
    for (KeyedCopyPath path : KeyedCopyPaths()) {
        for (int width = 0; width <= 40; ++width) {
            std::vector<Pixel> from(kRows * kFromPitch), to(kRows * kToPitch);
            for (size_t i = 0; i < from.size(); ++i) {
                const bool keyed = i % 5 == static_cast<size_t>(width) % 5 || (i / 16) % 4 == 3;
                from[i] = keyed ? key : i % 7 == 0 ? near_key[i % 2] : static_cast<Pixel>(i + 1);
            }
            for (size_t i = 0; i < to.size(); ++i) {
                to[i] = static_cast<Pixel>(~i);
            }
            std::vector<Pixel> expected = to;
            for (int y = 0; y < kRows; ++y) {
                for (int x = 0; x < width; ++x) {
                    const Pixel v = from[static_cast<size_t>(y * kFromPitch + x)];
                    if (v != key) {
                        expected[static_cast<size_t>(y * kToPitch + x)] = v;
                    }
                }
            }
            const ptrdiff_t up = -static_cast<ptrdiff_t>(sizeof(Pixel));
            CopyKeyedOn(path,
                        {reinterpret_cast<uint8_t*>(&to[(kRows - 1) * kToPitch]), up * kToPitch,
                         reinterpret_cast<const uint8_t*>(&from[(kRows - 1) * kFromPitch]),
                         up * kFromPitch, width, kRows, sizeof(Pixel), key});
            ASSERT_EQ(to, expected) << KeyedCopyPathName(path) << ", width " << width;
        }
    }
}

TEST(KeyedCopy, EveryPath_RowEndsAndKeysInEveryLane_BothPixelSizes) {
    EXPECT_EQ(KeyedCopyPaths().front(), KeyedCopyPath::Lanes16);
    EXPECT_EQ(KeyedCopyPaths().back(), KeyedCopyBestPath());
    ExpectEveryPathKeysLikeTheReference<uint16_t>(0xF81F);
    ExpectEveryPathKeysLikeTheReference<uint32_t>(0x00FF00FF);
}

// Keyed blits within one surface read each pixel before it is overwritten, along a row as
// well as down the rows, in both pixel sizes.
TEST_F(DDrawTest, BltFast_SourceColorKey_WithinOneSurface_ReadsBeforeWriting) {
    const int width = 37;
    for (const auto& [bits, key_value] : {std::tuple<int, DWORD>{16, 0xF81F}, {32, 0x00FF00FF}}) {
        SCOPED_TRACE(bits);
        IDirectDrawSurface7* surface = Surface(width, 3, bits);
        Fill(surface, 0x0101);
        std::vector<DWORD> pixels, over_the_fill;
        for (DWORD x = 0; x < width; ++x) {
            pixels.push_back(x % 3 == 1 ? key_value : x + 2);
            over_the_fill.push_back(x % 3 == 1 ? 0x0101 : x + 2);
        }
        FillTopRow(surface, pixels);
        DDCOLORKEY key = {key_value, key_value};
        ASSERT_HR(DD_OK, surface->SetColorKey(DDCKEY_SRCBLT, &key));
        RECT two_rows = {0, 0, width, 2};
        ASSERT_HR(DD_OK, surface->BltFast(0, 1, surface, &two_rows, DDBLTFAST_SRCCOLORKEY));
        RECT but_the_last = {0, 0, width - 1, 1};
        ASSERT_HR(DD_OK, surface->BltFast(1, 0, surface, &but_the_last, DDBLTFAST_SRCCOLORKEY));
        std::vector<DWORD> shifted = pixels;
        for (size_t x = 1; x < width; ++x) {
            if (pixels[x - 1] != key_value) {
                shifted[x] = pixels[x - 1];
            }
        }
        EXPECT_EQ(TopRow(surface, width), shifted);
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(ReadPixel(surface, x, 1), over_the_fill[x]) << x;
            EXPECT_EQ(ReadPixel(surface, x, 2), 0x0101u) << x;
        }
    }
}

// Stretching samples by floor, each way. Blt keys only when asked to, with DDBLT_KEYSRC,
// and then only where the source holds the key, copying and stretching alike; a source with
// no key set has nothing to leave out.
TEST_F(DDrawTest, Blt_StretchesByFloor_KeysOnlyWithKeySrc) {
    IDirectDrawSurface7* across = Surface(3, 1);
    FillTopRow(across, {100, 101, 102});
    IDirectDrawSurface7* down = Surface(1, 3);
    for (LONG i = 0; i < 3; ++i) {
        RECT r = {0, i, 1, i + 1};
        Fill(down, static_cast<DWORD>(100 + i), &r);
    }
    IDirectDrawSurface7* wide = Surface(7, 1);
    IDirectDrawSurface7* tall = Surface(1, 7);
    ASSERT_HR(DD_OK, wide->Blt(nullptr, across, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_HR(DD_OK, tall->Blt(nullptr, down, nullptr, DDBLT_WAIT, nullptr));
    std::vector<DWORD> column;
    for (int y = 0; y < 7; ++y) {
        column.push_back(ReadPixel(tall, 0, y));
    }
    const std::vector<DWORD> floor = {100, 100, 100, 101, 101, 102, 102};
    EXPECT_EQ(TopRow(wide, 7), floor);
    EXPECT_EQ(column, floor);

    IDirectDrawSurface7* sprite = Surface(2, 1);
    IDirectDrawSurface7* unkeyed = Surface(2, 1);
    FillTopRow(sprite, {0xF81F, 0x07E0});
    FillTopRow(unkeyed, {0x0000, 0x07E0}); // black: what a key never set would hold
    DDCOLORKEY key = {0xF81F, 0xF81F};
    ASSERT_HR(DD_OK, sprite->SetColorKey(DDCKEY_SRCBLT, &key));
    using Row = std::tuple<const char*, IDirectDrawSurface7*, DWORD, DWORD, std::vector<DWORD>>;
    const Row rows[] = {
        {"copy, keyed", sprite, 2, DDBLT_WAIT | DDBLT_KEYSRC, {0x1111, 0x07E0}},
        {"copy, not keyed", sprite, 2, DDBLT_WAIT, {0xF81F, 0x07E0}},
        {"stretch, keyed", sprite, 4, DDBLT_WAIT | DDBLT_KEYSRC, {0x1111, 0x1111, 0x07E0, 0x07E0}},
        {"keyed, no key set", unkeyed, 2, DDBLT_WAIT | DDBLT_KEYSRC, {0x0000, 0x07E0}},
    };
    for (const auto& [name, source, width, flags, expected] : rows) {
        IDirectDrawSurface7* dest = Surface(width, 1);
        Fill(dest, 0x1111);
        ASSERT_HR(DD_OK, dest->Blt(nullptr, source, nullptr, flags, nullptr));
        EXPECT_EQ(TopRow(dest, static_cast<int>(width)), expected) << name;
    }
}

TEST_F(DDrawTest, Blt_ColorFillAndRects_ExactCodes) {
    IDirectDrawSurface7* surface = Surface(4, 4);
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
    EXPECT_HR(DDERR_INVALIDPIXELFORMAT,
              surface->Blt(nullptr, Surface(4, 4, 32), nullptr, DDBLT_WAIT, nullptr));
}

// Display memory is taken away from every surface at once; each refuses work until restored,
// and comes back with its memory, not what it held. System memory stays.
// A fill of the whole surface is there for whatever comes next: a keyed blit over all of
// it, a blit or a BltFast over part of it, a blit from it, and GDI.
TEST_F(DDrawTest, Blt_WholeSurfaceFill_SeenByWhateverComesNext) {
    IDirectDrawSurface7* sprite = Surface(2, 1);
    FillTopRow(sprite, {0xF81F, 0x07E0});
    DDCOLORKEY key = {0xF81F, 0xF81F};
    ASSERT_HR(DD_OK, sprite->SetColorKey(DDCKEY_SRCBLT, &key));
    IDirectDrawSurface7* dest = Surface(2, 1);
    Fill(dest, 0x1111);
    ASSERT_HR(DD_OK, dest->Blt(nullptr, sprite, nullptr, DDBLT_KEYSRC, nullptr));
    EXPECT_EQ(TopRow(dest, 2), (std::vector<DWORD>{0x1111, 0x07E0})) << "keyed, all of it";
    Fill(dest, 0x2222);
    RECT left = {0, 0, 1, 1};
    ASSERT_HR(DD_OK, dest->Blt(&left, sprite, &left, 0, nullptr));
    EXPECT_EQ(TopRow(dest, 2), (std::vector<DWORD>{0xF81F, 0x2222})) << "part of it";
    Fill(dest, 0x3333);
    ASSERT_HR(DD_OK, dest->BltFast(1, 0, sprite, &left, 0));
    EXPECT_EQ(TopRow(dest, 2), (std::vector<DWORD>{0x3333, 0xF81F})) << "BltFast, part of it";
    Fill(dest, 0x4444);
    ASSERT_HR(DD_OK, sprite->Blt(nullptr, dest, nullptr, 0, nullptr));
    EXPECT_EQ(TopRow(sprite, 2), (std::vector<DWORD>{0x4444, 0x4444})) << "a blit from it";
    Fill(dest, 0xFFFF);
    HDC dc = nullptr;
    ASSERT_HR(DD_OK, dest->GetDC(&dc));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 255, 255)) << "GDI";
    dest->ReleaseDC(dc);
    IDirectDrawSurface7 *primary = nullptr, *back = nullptr;
    MakePrimary(dd, &primary, &back);
    Fill(primary, 0xFFFF);
    EXPECT_EQ(ScreenColor(639, 479), RGB(255, 255, 255)) << "the screen, at once";
    back->Release();
    primary->Release();
}

// A blit onto the primary writes only the rows that differ and tells the host which; any
// other write to the screen, and a restored primary, may have changed any row.
TEST_F(DDrawTest, BltOntoThePrimary_TellsTheHostWhichRowsChanged) {
    IDirectDrawSurface7 *primary = nullptr, *back = nullptr;
    MakePrimary(dd, &primary, &back);
    // The first and last rows the last present marked, and how many it marked.
    using Rows = std::tuple<int, int, int>;
    auto rows_presented = [] {
        const std::vector<uint8_t> rows = HeadlessLastPresentRows();
        Rows marked = {-1, -1, 0};
        for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
            if (rows[static_cast<size_t>(y)]) {
                std::get<0>(marked) = std::get<0>(marked) < 0 ? y : std::get<0>(marked);
                std::get<1>(marked) = y;
                ++std::get<2>(marked);
            }
        }
        return marked;
    };
    Fill(back, 0x1234);
    ASSERT_HR(DD_OK, primary->Blt(nullptr, back, nullptr, 0, nullptr));
    EXPECT_EQ(rows_presented(), Rows(0, 479, 480)) << "every row differed";
    RECT top = {600, 100, 640, 110}, bottom = {0, 470, 1, 472};
    Fill(back, 0x5678, &top);
    Fill(back, 0x5678, &bottom);
    ASSERT_HR(DD_OK, primary->Blt(nullptr, back, nullptr, 0, nullptr));
    EXPECT_EQ(rows_presented(), Rows(100, 471, 12)) << "rows 100 to 109, 470 and 471";
    EXPECT_EQ(ReadPixel(primary, 639, 109), 0x5678u);
    EXPECT_EQ(ReadPixel(primary, 639, 110), 0x1234u);
    ASSERT_HR(DD_OK, primary->Blt(nullptr, back, nullptr, 0, nullptr));
    EXPECT_EQ(std::get<2>(rows_presented()), 0) << "nothing changed";
    RECT lower = {0, 200, 640, 480}, row_300 = {5, 300, 6, 301};
    Fill(back, 0x5678, &row_300);
    ASSERT_HR(DD_OK, primary->Blt(&lower, back, &lower, 0, nullptr));
    EXPECT_EQ(rows_presented(), Rows(300, 300, 1)) << "the screen's rows, not the blit's";
    RECT corner = {0, 0, 1, 1};
    Fill(primary, 0x5678, &corner);
    EXPECT_EQ(rows_presented(), Rows(0, 479, 480)) << "a fill: anywhere";
    LoseTheDisplay();
    ASSERT_HR(DD_OK, primary->Restore());
    Fill(back, 0);
    ASSERT_HR(DD_OK, primary->Blt(nullptr, back, nullptr, 0, nullptr));
    EXPECT_EQ(rows_presented(), Rows(0, 479, 480)) << "restored: the screen shows what was lost";
    back->Release();
    primary->Release();
}

TEST_F(DDrawTest, LostSurfaces_RefuseUntilRestored) {
    IDirectDrawSurface7* surface = Surface(4, 4, 0, DDSCAPS_OFFSCREENPLAIN);
    IDirectDrawSurface7* source = Surface(4, 4, 0, DDSCAPS_OFFSCREENPLAIN);
    IDirectDrawSurface7* in_system_memory = Surface(4, 4);
    Fill(in_system_memory, 0x1234);
    RECT most = {0, 0, 4, 3}; // not the whole surface, which a fill only notes until it is read
    Fill(surface, 0x5678, &most);
    IDirectDrawSurface7 *primary = nullptr, *back = nullptr;
    MakePrimary(dd, &primary, &back);
    LoseTheDisplay();
    EXPECT_HR(DD_OK, in_system_memory->IsLost()) << "system memory is not taken away";
    EXPECT_EQ(ReadPixel(in_system_memory, 3, 3), 0x1234u);
    EXPECT_HR(DDERR_SURFACELOST, back->IsLost());
    EXPECT_HR(DD_OK, primary->Restore());
    EXPECT_HR(DD_OK, back->IsLost()) << "restored with its primary";
    back->Release();
    primary->Release();
    EXPECT_HR(DDERR_SURFACELOST, surface->IsLost());
    EXPECT_HR(DD_OK, surface->Restore());
    EXPECT_HR(DD_OK, surface->IsLost());
    EXPECT_NE(ReadPixel(surface, 3, 2), 0x5678u) << "the memory comes back, not what it held";
    EXPECT_HR(DDERR_SURFACELOST, surface->BltFast(0, 0, source, nullptr, 0)) << "source still lost";
    source->Restore();
    EXPECT_HR(DD_OK, surface->BltFast(0, 0, source, nullptr, 0));
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
}

} // namespace
