// Screen and Image on our DirectDraw: every step's result, the failure tables, the
// out-pointer rules, and references back to zero.
#include "screen/image.h"
#include "screen/screen.h"

#include "support/bmp_writer.h"
#include "support/ddraw_helpers.h"
#include "support/platform_fixture.h"

#include "ddraw/ddraw_testing.h"
#include "gdi/gdi_private.h"

#include <new>
#include <tuple>

namespace {
// Calls of the nothrow operator new still to fail (FailNextNothrowNew).
int failing_nothrow_news = 0;

// Makes the next nothrow `new` fail, as when memory has run out.
void FailNextNothrowNew() {
    failing_nothrow_news = 1;
}
} // namespace

// The program's nothrow operator new, replaced for this test program so that a test can
// make it fail; otherwise it is the runtime's own allocation.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (failing_nothrow_news > 0) {
        --failing_nothrow_news;
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

Image* const kPoison = reinterpret_cast<Image*>(0xdeadbeef);

void Release(Image*& image) {
    if (image && image != kPoison) {
        image->Destroy();
        delete image;
    }
    image = nullptr;
}

// A bitmap in the display's format, selected into no DC.
HBITMAP NewBitmap(int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

DDSURFACEDESC2 DescOf(IDirectDrawSurface7* surface) {
    DDSURFACEDESC2 desc = EmptyDesc();
    surface->GetSurfaceDesc(&desc);
    return desc;
}

class ScreenTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        window = MakeWindow(WS_POPUP | WS_VISIBLE);
    }
    void TearDown() override {
        screen.ReleaseAll();
        ExpectAllReleased();
        PlatformTest::TearDown();
    }
    void Open() { ASSERT_HR(S_OK, screen.OpenFullScreen(window, 640, 480, 16)); }

    // An Image of the Screen's making: w x h, in the given format (0: the display's).
    Image* MakeImage(DWORD w, DWORD h, int bits = 0) {
        Image* image = new Image();
        image->surface = MakeSurface(screen.directDraw, w, h, bits);
        return image;
    }

    HWND window = nullptr;
    Screen screen;
};

// A Screen whose ReleaseAll is watched: OpenFullScreen must call it as a virtual call.
class WatchedScreen : public Screen {
  public:
    HRESULT ReleaseAll() override {
        ++releases;
        live_at_release = DDrawLive().surfaces;
        return Screen::ReleaseAll();
    }
    int releases = 0;
    int live_at_release = -1;
};

TEST_F(ScreenTest, OpenFullScreen_TakesTheDisplayWithABackBuffer_AgainRebuilds) {
    EXPECT_EQ(screen.window, nullptr);
    Open();
    ASSERT_NE(screen.directDraw, nullptr);
    ASSERT_NE(screen.primary, nullptr);
    ASSERT_NE(screen.backBuffer, nullptr);
    EXPECT_EQ(screen.window, window);
    EXPECT_EQ(ClientRectOf(window), (RECT{0, 0, 640, 480}));
    // The primary's reference, GetAttachedSurface's, and the Screen's own extra one.
    EXPECT_EQ(RefCount(screen.backBuffer), 3u);
    const DDSURFACEDESC2 desc = DescOf(screen.backBuffer);
    EXPECT_EQ(desc.dwWidth, 640u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwGBitMask, 0x07E0u);
    // Opened again, a Screen releases what it had, as a virtual call, then rebuilds.
    EXPECT_HR(S_OK, screen.ReleaseAll());
    WatchedScreen watched;
    ASSERT_HR(S_OK, watched.OpenFullScreen(window, 640, 480, 16));
    EXPECT_EQ(watched.releases, 1);
    EXPECT_EQ(DDrawLive().direct_draws, 1);
    ASSERT_HR(S_OK, watched.OpenFullScreen(window, 640, 480, 16));
    EXPECT_EQ(watched.releases, 2);
    EXPECT_EQ(watched.live_at_release, 2); // the first primary and back buffer, then gone
    EXPECT_EQ(DDrawLive().surfaces, 2);
    watched.ReleaseAll();
}

TEST_F(ScreenTest, OpenFullScreen_AnyStepFails_EFailAndPartlyOpen) {
    using Row = std::tuple<const char*, DDrawCall, bool, bool>;
    static const Row rows[] = {
        {"DirectDrawCreateEx", DDrawCall::DirectDrawCreateEx, false, false},
        {"SetCooperativeLevel", DDrawCall::SetCooperativeLevel, true, false},
        {"SetDisplayMode", DDrawCall::SetDisplayMode, true, false},
        {"CreateSurface", DDrawCall::CreateSurface, true, false},
        {"GetAttachedSurface", DDrawCall::GetAttachedSurface, true, true},
    };
    for (const auto& [name, call, direct_draw, primary] : rows) {
        SCOPED_TRACE(name);
        DDrawFailCall(call, DDERR_OUTOFMEMORY);
        EXPECT_HR(E_FAIL, screen.OpenFullScreen(window, 640, 480, 16));
        EXPECT_EQ(screen.directDraw != nullptr, direct_draw);
        EXPECT_EQ(screen.primary != nullptr, primary);
        EXPECT_EQ(screen.backBuffer, nullptr);
        EXPECT_EQ(screen.window, nullptr) << "written only by a successful opening";
        EXPECT_HR(S_OK, screen.ReleaseAll());
        EXPECT_EQ(DDrawLive().direct_draws, 0);
    }
    EXPECT_HR(E_FAIL, screen.OpenFullScreen(window, 800, 600, 16)) << "a mode the host lacks";
}

// Releasing a new Screen, or one twice, does nothing. An Image's surface keeps the
// DirectDraw object alive after the Screen lets go of it; the display must still be handed
// back, or no other Screen could take it.
TEST_F(ScreenTest, ReleaseAll_AnyTime_HandsTheDisplayBack) {
    EXPECT_HR(S_OK, screen.ReleaseAll());
    Open();
    Image* sprite = MakeImage(4, 4);
    EXPECT_HR(S_OK, screen.ReleaseAll());
    EXPECT_EQ(screen.directDraw, nullptr);
    EXPECT_EQ(screen.primary, nullptr);
    EXPECT_EQ(screen.backBuffer, nullptr);
    EXPECT_EQ(DDrawLive().surfaces, 1) << "the sprite's";
    EXPECT_HR(S_OK, screen.ReleaseAll());
    EXPECT_EQ(DDrawLive().direct_draws, 1) << "still held by the sprite's surface";
    Screen second;
    EXPECT_HR(S_OK, second.OpenFullScreen(window, 640, 480, 16));
    second.ReleaseAll();
    Release(sprite);
}

TEST_F(ScreenTest, InstallClipper_ResultsAndTheClippersReference) {
    Open();
    DDrawFailCall(DDrawCall::CreateClipper, DDERR_OUTOFMEMORY);
    EXPECT_HR(DDERR_OUTOFMEMORY, screen.InstallClipper());
    IDirectDrawClipper* clipper = nullptr;
    EXPECT_HR(DDERR_NOCLIPPERATTACHED, screen.primary->GetClipper(&clipper));

    DDrawFailCall(DDrawCall::SetClipper, DDERR_OUTOFMEMORY);
    EXPECT_HR(DDERR_OUTOFMEMORY, screen.InstallClipper());
    EXPECT_EQ(DDrawLive().clippers, 0) << "released after SetClipper failed";

    EXPECT_HR(S_OK, screen.InstallClipper());
    ASSERT_HR(DD_OK, screen.primary->GetClipper(&clipper));
    HWND bound = nullptr;
    clipper->GetHWnd(&bound);
    EXPECT_EQ(bound, window);
    EXPECT_EQ(clipper->Release(), 1u) << "the primary holds the clipper's only reference";
}

TEST_F(ScreenTest, FillAndDraw_ResultsOfEachStep_KeyOnlyWhenKeyed) {
    EXPECT_HR(E_POINTER, screen.FillBackBuffer(0));
    EXPECT_HR(E_POINTER, screen.DrawSurface(0, 0, nullptr, nullptr, 0));
    EXPECT_HR(E_INVALIDARG, screen.DrawImage(0, 0, nullptr, nullptr));
    Open();
    Fill(screen.backBuffer, 0xFFFF);
    EXPECT_HR(S_OK, screen.FillBackBuffer(0));
    EXPECT_EQ(ReadPixel(screen.backBuffer, 0, 0), 0u);
    EXPECT_EQ(ReadPixel(screen.backBuffer, 639, 479), 0u);
    DDrawFailCall(DDrawCall::Blt, DDERR_SURFACELOST);
    EXPECT_HR(DDERR_SURFACELOST, screen.FillBackBuffer(0));
    Image* sprite = MakeImage(2, 1);
    FillTopRow(sprite->surface, {0xF81F, 0x07E0});
    ASSERT_HR(S_OK, sprite->ApplyColorKey(RGB(255, 0, 255)));
    screen.FillBackBuffer(0x1111);
    EXPECT_HR(S_OK, screen.DrawImage(10, 10, sprite, nullptr));
    EXPECT_EQ(ReadPixel(screen.backBuffer, 10, 10), 0x1111u) << "magenta does not reach it";
    EXPECT_EQ(ReadPixel(screen.backBuffer, 11, 10), 0x07E0u);
    sprite->colorKeyed = FALSE;
    EXPECT_HR(S_OK, screen.DrawImage(10, 10, sprite, nullptr));
    EXPECT_EQ(ReadPixel(screen.backBuffer, 10, 10), 0xF81Fu);
    EXPECT_HR(DDERR_INVALIDRECT, screen.DrawImage(639, 0, sprite, nullptr)) << "never clipped";
    Release(sprite);
}

class LoadBitmapTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        BmpLayout layout;
        layout.width = 50;
        layout.height = 20;
        WriteFile("Bitmaps/ZOBU1.bmp", WriteBmp(layout));
    }
    TempWorkingDirectory directory;
};

TEST_F(LoadBitmapTest, LoadBitmapImage_ArgumentsSizesAndFailures) {
    Image* out = kPoison;
    EXPECT_HR(E_INVALIDARG, screen.LoadBitmapImage(&out, "Bitmaps\\ZOBU1.bmp", 32, 32));
    EXPECT_EQ(out, kPoison);
    Open();
    EXPECT_HR(E_INVALIDARG, screen.LoadBitmapImage(&out, nullptr, 32, 32));
    EXPECT_EQ(out, kPoison);
    EXPECT_HR(E_INVALIDARG, screen.LoadBitmapImage(nullptr, "Bitmaps\\ZOBU1.bmp", 32, 32));
    ASSERT_HR(S_OK, screen.LoadBitmapImage(&out, "Bitmaps\\ZOBU1.bmp", 32, 32));
    ASSERT_NE(out, nullptr);
    const DDSURFACEDESC2 desc = DescOf(out->surface);
    EXPECT_EQ(desc.dwWidth, 32u);
    EXPECT_EQ(desc.dwHeight, 32u);
    EXPECT_NE(desc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY, 0u);
    EXPECT_FALSE(out->colorKeyed);
    Release(out);
    ASSERT_HR(S_OK, screen.LoadBitmapImage(&out, "bitmaps\\zobu1.BMP", 0, 0));
    EXPECT_EQ(DescOf(out->surface).dwWidth, 50u) << "0 keeps the bitmap's own size";
    Release(out);
    // Failures: the out-pointer holds an Image only when one was made and the paint failed.
    using Row = std::tuple<const char*, const char*, DDrawCall, HRESULT, HRESULT, bool>;
    static const Row rows[] = {
        {"no such resource or file", "Bitmaps\\none.bmp", DDrawCall::Count, DD_OK, E_FAIL, false},
        {"the current directory", ".", DDrawCall::Count, DD_OK, E_FAIL, false},
        {"Image::Create fails", "Bitmaps\\ZOBU1.bmp", DDrawCall::CreateSurface, DDERR_OUTOFMEMORY,
         DDERR_OUTOFMEMORY, false},
        {"painting fails", "Bitmaps\\ZOBU1.bmp", DDrawCall::GetDC, DDERR_SURFACELOST,
         DDERR_SURFACELOST, true},
    };
    testing::internal::CaptureStderr(); // the missing file is reported there
    for (const auto& [name, file, call, code, expected, image_at_out] : rows) {
        SCOPED_TRACE(name);
        if (call != DDrawCall::Count) {
            DDrawFailCall(call, code);
        }
        out = kPoison;
        EXPECT_HR(expected, screen.LoadBitmapImage(&out, file, 32, 32));
        EXPECT_EQ(out != nullptr, image_at_out);
        Release(out);
        EXPECT_EQ(DDrawLive().surfaces, 2) << "nothing left behind";
    }
    testing::internal::GetCapturedStderr();
    // With no memory for the Image, both factories leave out null and say so; the bitmap that
    // was loaded for it is given back.
    out = kPoison;
    FailNextNothrowNew();
    EXPECT_HR(E_OUTOFMEMORY, screen.LoadBitmapImage(&out, "Bitmaps\\ZOBU1.bmp", 32, 32));
    EXPECT_EQ(out, nullptr);
    out = kPoison;
    FailNextNothrowNew();
    EXPECT_HR(E_OUTOFMEMORY, screen.MakeTextImage(&out, nullptr, "5", 0, 0));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(DDrawLive().surfaces, 2) << "the primary and its back buffer only";
}

TEST_F(ScreenTest, MakeTextImage_TheTextsExtent_AndFailures) {
    Image* out = kPoison;
    EXPECT_HR(E_INVALIDARG, screen.MakeTextImage(&out, nullptr, "5", 0, 0)) << "not open";
    EXPECT_EQ(out, kPoison);
    Open();
    Image* text = kPoison;
    ASSERT_HR(S_OK, screen.MakeTextImage(&text, nullptr, "5", RGB(255, 0, 255), RGB(255, 255, 0)));
    const DDSURFACEDESC2 desc = DescOf(text->surface);
    EXPECT_EQ(desc.dwWidth, 8u);
    EXPECT_EQ(desc.dwHeight, 16u);
    EXPECT_EQ(desc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY, 0u) << "left to DirectDraw's placement";
    EXPECT_FALSE(text->colorKeyed);
    const int yellow = CountPixels(text->surface, {0, 0, 8, 16}, 0xFFE0);
    EXPECT_GT(yellow, 10);
    EXPECT_EQ(yellow + CountPixels(text->surface, {0, 0, 8, 16}, 0xF81F), 128);
    // Drawn without a key, the magenta box shows around the digit.
    screen.FillBackBuffer(0);
    EXPECT_HR(S_OK, screen.DrawImage(10, 10, text, nullptr));
    EXPECT_EQ(ReadPixel(screen.backBuffer, 10, 10), 0xF81Fu);
    EXPECT_EQ(ReadPixel(screen.backBuffer, 9, 9), 0u);
    Release(text);
    ASSERT_HR(S_OK, screen.MakeTextImage(&text, nullptr, "12", RGB(255, 0, 255), RGB(255, 255, 0)));
    EXPECT_EQ(DescOf(text->surface).dwWidth, 16u);
    Release(text);
    EXPECT_HR(E_INVALIDARG, screen.MakeTextImage(&out, nullptr, nullptr, 0, 0));
    EXPECT_EQ(out, kPoison);
    DDrawFailCall(DDrawCall::CreateSurface, DDERR_OUTOFMEMORY);
    EXPECT_HR(DDERR_OUTOFMEMORY, screen.MakeTextImage(&out, nullptr, "5", 0, 0));
    EXPECT_EQ(out, nullptr);
    DDrawFailCall(DDrawCall::ReleaseDC, DDERR_GENERIC);
    EXPECT_HR(DDERR_GENERIC, screen.MakeTextImage(&out, nullptr, "5", 0, 0));
    ASSERT_NE(out, nullptr) << "after a failed paint the Image is the caller's";
    Release(out);
}

TEST_F(ScreenTest, PaintBitmapAndText_FailuresThenTheWholeBitmap) {
    Open();
    HBITMAP bitmap = NewBitmap(2, 2);
    using Row = std::tuple<const char*, DDrawCall, HRESULT>;
    static const Row rows[] = {
        {"Restore fails", DDrawCall::Restore, DDERR_OUTOFMEMORY},
        {"GetDC fails", DDrawCall::GetDC, DDERR_SURFACELOST},
        {"ReleaseDC fails", DDrawCall::ReleaseDC, DDERR_GENERIC},
    };
    for (const auto& [name, call, expected] : rows) {
        SCOPED_TRACE(name);
        Image* image = MakeImage(4, 4);
        DDrawFailCall(call, expected);
        EXPECT_HR(expected, image->PaintBitmap(bitmap, 0, 0, 0, 0));
        Release(image);
    }
    Image* image = MakeImage(4, 4);
    EXPECT_HR(E_INVALIDARG, image->PaintBitmap(nullptr, 0, 0, 0, 0));
    GdiFailCreateCompatibleDC(1);
    EXPECT_HR(E_FAIL, image->PaintBitmap(bitmap, 0, 0, 0, 0));
    Image empty;
    EXPECT_HR(E_INVALIDARG, empty.PaintBitmap(bitmap, 0, 0, 0, 0));
    Release(image);

    // A FOURCC surface is refused before any DC is made, if FOURCC is its only flag: the
    // test is for equality, as DirectDraw's samples make it, so with another flag the
    // refusal is GetDC's.
    DDSURFACEDESC2 desc = EmptyDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = desc.dwHeight = 4;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_FOURCC;
    desc.ddpfPixelFormat.dwFourCC = MAKEFOURCC('Y', 'U', 'Y', '2');
    for (const auto& [flags, expected] : {std::pair<DWORD, HRESULT>{DDPF_FOURCC, E_NOTIMPL},
                                          {DDPF_FOURCC | DDPF_ALPHAPIXELS, DDERR_CANTCREATEDC}}) {
        desc.ddpfPixelFormat.dwFlags = flags;
        Image fourcc;
        ASSERT_HR(S_OK, fourcc.Create(screen.directDraw, &desc));
        EXPECT_HR(expected, fourcc.PaintBitmap(bitmap, 0, 0, 0, 0));
        fourcc.Destroy();
    }
    DeleteObject(bitmap);
    // The whole bitmap is stretched over the whole surface.
    bitmap = NewBitmap(2, 1);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    SetPixel(dc, 1, 0, RGB(0, 0, 255));
    DeleteDC(dc);
    image = MakeImage(4, 2);
    ASSERT_HR(S_OK, image->PaintBitmap(bitmap, 0, 0, 0, 0));
    EXPECT_EQ(ReadPixel(image->surface, 1, 1), 0xF800u);
    EXPECT_EQ(ReadPixel(image->surface, 2, 0), 0x001Fu);
    Release(image);
    DeleteObject(bitmap);

    // Text: each step's failure; after a failed ReleaseDC the DC stays out.
    EXPECT_HR(E_INVALIDARG, empty.PaintText(nullptr, "1", 0, 0, 0, 0));
    image = MakeImage(8, 16);
    EXPECT_HR(E_INVALIDARG, image->PaintText(nullptr, nullptr, 0, 0, 0, 0));
    for (DDrawCall call : {DDrawCall::Restore, DDrawCall::GetDC}) {
        DDrawFailCall(call, DDERR_SURFACELOST);
        EXPECT_HR(DDERR_SURFACELOST, image->PaintText(nullptr, "1", 0, 0, 0, 0));
    }
    DDrawFailCall(DDrawCall::ReleaseDC, DDERR_GENERIC);
    EXPECT_HR(DDERR_GENERIC, image->PaintText(nullptr, "1", 0, 0, RGB(255, 255, 255), 0));
    EXPECT_HR(DDERR_DCALREADYCREATED, image->surface->GetDC(&dc)) << "its DC is still out";
    Release(image);
}

TEST_F(ScreenTest, ApplyColorKey_EachFormatAndFailures) {
    Open();
    for (const auto& [bits, magenta] :
         {std::pair<int, DWORD>{16, 0xF81F}, {15, 0x7C1F}, {32, 0x00FF00FF}}) { // 32: unmasked
        SCOPED_TRACE(bits);
        Image* image = MakeImage(2, 2, bits);
        ASSERT_HR(S_OK, image->ApplyColorKey(0x00FF00FF));
        EXPECT_TRUE(image->colorKeyed);
        DDCOLORKEY key = {};
        ASSERT_HR(DD_OK, image->surface->GetColorKey(DDCKEY_SRCBLT, &key));
        EXPECT_EQ(key.dwColorSpaceLowValue, magenta);
        EXPECT_EQ(key.dwColorSpaceHighValue, magenta);
        Release(image);
    }
    Image empty;
    empty.Destroy(); // without a surface, nothing to do
    EXPECT_HR(E_POINTER, empty.ApplyColorKey(0x00FF00FF));
    EXPECT_FALSE(empty.colorKeyed);
    EXPECT_EQ(empty.MatchGdiColor(0x00FF00FF), 0u);
    Image* image = MakeImage(2, 2);
    DDrawFailCall(DDrawCall::SetColorKey, DDERR_GENERIC);
    EXPECT_HR(DDERR_GENERIC, image->ApplyColorKey(0x00FF00FF));
    EXPECT_TRUE(image->colorKeyed) << "set before SetColorKey, and it stays";
    Release(image);
}

TEST_F(ScreenTest, MatchGdiColor_PutsPixelZeroBack) {
    Open();
    Image* image = MakeImage(2, 2);
    Fill(image->surface, 0x1234);
    EXPECT_EQ(image->MatchGdiColor(RGB(255, 0, 255)), 0xF81Fu);
    EXPECT_EQ(ReadPixel(image->surface, 0, 0), 0x1234u);
    // CLR_INVALID writes nothing and reads what is there.
    EXPECT_EQ(image->MatchGdiColor(CLR_INVALID), 0x1234u);
    // The lock fails: CLR_INVALID, and the pixel is still put back.
    DDrawFailCall(DDrawCall::Lock, DDERR_SURFACEBUSY);
    EXPECT_EQ(image->MatchGdiColor(RGB(255, 0, 255)), CLR_INVALID);
    EXPECT_EQ(ReadPixel(image->surface, 0, 0), 0x1234u);
    // The first GetDC fails: nothing was saved, so nothing is written back (a write-back
    // of CLR_INVALID would turn the pixel white).
    DDrawFailCall(DDrawCall::GetDC, DDERR_SURFACELOST);
    EXPECT_EQ(image->MatchGdiColor(RGB(255, 0, 255)), 0x1234u);
    EXPECT_EQ(ReadPixel(image->surface, 0, 0), 0x1234u);
    Release(image);
}

} // namespace
