// Screen and Image on our DirectDraw: what each operation makes, one table of how each step
// fails and what it leaves at the out-pointer, and references back to zero.
#include "screen/image.h"
#include "screen/screen.h"

#include "support/bmp_writer.h"
#include "support/ddraw_helpers.h"
#include "support/platform_fixture.h"

#include "ddraw/ddraw_testing.h"
#include "gdi/gdi_private.h"

#include <functional>
#include <new>
#include <tuple>

namespace {
// Calls of the nothrow operator new still to fail.
int failing_nothrow_news = 0;
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

DDSURFACEDESC2 DescOf(IDirectDrawSurface7* surface) {
    DDSURFACEDESC2 desc = EmptyDesc();
    surface->GetSurfaceDesc(&desc);
    return desc;
}

// An open Screen on a shown window, a 4 x 4 Image of its making, a 2 x 2 bitmap, and a
// 50 x 20 picture at "Bitmaps\ZOBU1.bmp".
class ScreenTest : public PlatformTest {
  public:
    void SetUp() override {
        PlatformTest::SetUp();
        window = MakeWindow(WS_POPUP | WS_VISIBLE);
        BmpLayout layout;
        layout.width = 50;
        layout.height = 20;
        WriteFile("Bitmaps/ZOBU1.bmp", WriteBmp(layout));
        ASSERT_HR(S_OK, screen.OpenFullScreen(window, 640, 480, 16));
        image = MakeImage(4, 4);
        MemoryBitmap memory(2, 2);
        bitmap = memory.bitmap;
        memory.bitmap = nullptr; // kept when the DC goes
    }
    void TearDown() override {
        Release(image);
        DeleteObject(bitmap);
        screen.ReleaseAll();
        ExpectAllReleased();
        PlatformTest::TearDown();
    }

    // An Image of the Screen's making: w x h, in the given format (0: the display's).
    Image* MakeImage(DWORD w, DWORD h, int bits = 0) {
        Image* made = new Image();
        made->surface = MakeSurface(screen.directDraw, w, h, bits);
        return made;
    }

    TempWorkingDirectory directory;
    HWND window = nullptr;
    Screen screen;
    Image* image = nullptr;
    HBITMAP bitmap = nullptr;
};

// What a failed operation leaves at its out-pointer, which starts as kPoison.
enum class Out { Untouched, Null, AnImage };

// Each failure of each operation: the DirectDraw call made to fail (DDrawCall::Count for
// none) and its code, the result, and the out-pointer. Whatever the failure, nothing is
// left behind: an Image at the out-pointer is the caller's to release.
TEST_F(ScreenTest, EachStepsFailure_ItsResultAndTheOutPointer) {
    Screen closed;
    const char* zobu1 = "Bitmaps\\ZOBU1.bmp";
    using Op = std::function<HRESULT(Image**)>;
    const Op fill = [&](Image**) { return screen.FillBackBuffer(0); };
    const Op fill_closed = [&](Image**) { return closed.FillBackBuffer(0); };
    const Op draw_closed = [&](Image**) { return closed.DrawSurface(0, 0, image->surface, 0, 0); };
    const Op draw_nothing = [&](Image**) { return screen.DrawImage(0, 0, nullptr, nullptr); };
    const Op draw_past_edge = [&](Image**) { return screen.DrawImage(639, 0, image, nullptr); };
    const Op clipper = [&](Image**) { return screen.InstallClipper(); };
    const Op load = [&](Image** out) { return screen.LoadBitmapImage(out, zobu1, 32, 32); };
    const Op load_closed = [&](Image** out) { return closed.LoadBitmapImage(out, zobu1, 1, 1); };
    const Op load_no_name = [&](Image** out) { return screen.LoadBitmapImage(out, 0, 1, 1); };
    const Op load_no_out = [&](Image**) { return screen.LoadBitmapImage(0, zobu1, 1, 1); };
    const Op load_none = [&](Image** out) { return screen.LoadBitmapImage(out, "x.bmp", 1, 1); };
    const Op load_folder = [&](Image** out) { return screen.LoadBitmapImage(out, ".", 1, 1); };
    const Op text = [&](Image** out) { return screen.MakeTextImage(out, 0, "5", 0, 0); };
    const Op text_closed = [&](Image** out) { return closed.MakeTextImage(out, 0, "5", 0, 0); };
    const Op text_none = [&](Image** out) { return screen.MakeTextImage(out, 0, 0, 0, 0); };
    const Op paint = [&](Image**) { return image->PaintBitmap(bitmap, 0, 0, 0, 0); };
    const Op paint_none = [&](Image**) { return image->PaintBitmap(nullptr, 0, 0, 0, 0); };
    const Op paint_empty = [&](Image**) { return Image().PaintBitmap(bitmap, 0, 0, 0, 0); };
    const Op write = [&](Image**) { return image->PaintText(nullptr, "1", 0, 0, 0, 0); };
    const Op write_none = [&](Image**) { return image->PaintText(nullptr, nullptr, 0, 0, 0, 0); };
    const Op write_empty = [&](Image**) { return Image().PaintText(nullptr, "1", 0, 0, 0, 0); };
    const Op key = [&](Image**) { return image->ApplyColorKey(RGB(255, 0, 255)); };
    const Op key_empty = [&](Image**) { return Image().ApplyColorKey(RGB(255, 0, 255)); };
    enum Also { kNothing, kNoMemory, kNoMemoryDC }; // failures outside DirectDraw
    const HRESULT lost = DDERR_SURFACELOST, memory = DDERR_OUTOFMEMORY, generic = DDERR_GENERIC;
    const DDrawCall none = DDrawCall::Count;
    const struct {
        const char* name;
        const Op& op;
        DDrawCall call;
        HRESULT code;
        Also also;
        HRESULT expected;
        Out out;
    } rows[] = {
        // clang-format off
        {"fill, not open", fill_closed, none, 0, kNothing, E_POINTER, Out::Untouched},
        {"fill, Blt fails", fill, DDrawCall::Blt, lost, kNothing, lost, Out::Untouched},
        {"draw, not open", draw_closed, none, 0, kNothing, E_POINTER, Out::Untouched},
        {"draw no Image", draw_nothing, none, 0, kNothing, E_INVALIDARG, Out::Untouched},
        {"draw past the edge", draw_past_edge, none, 0, kNothing, DDERR_INVALIDRECT, Out::Untouched},
        {"clipper, CreateClipper fails", clipper, DDrawCall::CreateClipper, memory, kNothing, memory, Out::Untouched},
        {"clipper, SetClipper fails", clipper, DDrawCall::SetClipper, memory, kNothing, memory, Out::Untouched},
        {"load, not open", load_closed, none, 0, kNothing, E_INVALIDARG, Out::Untouched},
        {"load, no name", load_no_name, none, 0, kNothing, E_INVALIDARG, Out::Untouched},
        {"load, no out-pointer", load_no_out, none, 0, kNothing, E_INVALIDARG, Out::Untouched},
        {"load, no such file", load_none, none, 0, kNothing, E_FAIL, Out::Null},
        {"load, a folder", load_folder, none, 0, kNothing, E_FAIL, Out::Null},
        {"load, Image::Create fails", load, DDrawCall::CreateSurface, memory, kNothing, memory, Out::Null},
        {"load, painting fails", load, DDrawCall::GetDC, lost, kNothing, lost, Out::AnImage},
        {"load, no memory for the Image", load, none, 0, kNoMemory, E_OUTOFMEMORY, Out::Null},
        {"text, not open", text_closed, none, 0, kNothing, E_INVALIDARG, Out::Untouched},
        {"text, no text", text_none, none, 0, kNothing, E_INVALIDARG, Out::Untouched},
        {"text, Image::Create fails", text, DDrawCall::CreateSurface, memory, kNothing, memory, Out::Null},
        {"text, painting fails", text, DDrawCall::ReleaseDC, generic, kNothing, generic, Out::AnImage},
        {"text, no memory for the Image", text, none, 0, kNoMemory, E_OUTOFMEMORY, Out::Null},
        {"paint, Restore fails", paint, DDrawCall::Restore, memory, kNothing, memory, Out::Untouched},
        {"paint, GetDC fails", paint, DDrawCall::GetDC, lost, kNothing, lost, Out::Untouched},
        {"paint, ReleaseDC fails", paint, DDrawCall::ReleaseDC, generic, kNothing, generic, Out::Untouched},
        {"paint, no memory DC", paint, none, 0, kNoMemoryDC, E_FAIL, Out::Untouched},
        {"paint no bitmap", paint_none, none, 0, kNothing, E_INVALIDARG, Out::Untouched},
        {"paint, no surface", paint_empty, none, 0, kNothing, E_INVALIDARG, Out::Untouched},
        {"write, Restore fails", write, DDrawCall::Restore, lost, kNothing, lost, Out::Untouched},
        {"write, GetDC fails", write, DDrawCall::GetDC, lost, kNothing, lost, Out::Untouched},
        {"write no text", write_none, none, 0, kNothing, E_INVALIDARG, Out::Untouched},
        {"write, no surface", write_empty, none, 0, kNothing, E_INVALIDARG, Out::Untouched},
        {"key, no surface", key_empty, none, 0, kNothing, E_POINTER, Out::Untouched},
        {"key, SetColorKey fails (last)", key, DDrawCall::SetColorKey, generic, kNothing, generic, Out::Untouched},
        // clang-format on
    };
    auto live = [] {
        const DDrawLiveObjects l = DDrawLive();
        return std::make_tuple(l.direct_draws, l.surfaces, l.clippers);
    };
    const auto before = live();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Release(image); // a fresh one each time: a failed ReleaseDC leaves the old one's DC out
        image = MakeImage(4, 4);
        if (row.call != none) {
            DDrawFailCall(row.call, row.code);
        }
        failing_nothrow_news = row.also == kNoMemory;
        GdiFailCreateCompatibleDC(row.also == kNoMemoryDC);
        Image* out = kPoison;
        const std::string said = StderrOf([&] { EXPECT_HR(row.expected, row.op(&out)); });
        EXPECT_EQ(out == kPoison ? Out::Untouched : out ? Out::AnImage : Out::Null, row.out);
        Release(out);
        EXPECT_EQ(live(), before) << "nothing left behind";
        EXPECT_EQ(said.find("zobu4: cannot load bitmap"), said.empty() ? std::string::npos : 0u);
    }
    IDirectDrawClipper* none_attached = nullptr;
    EXPECT_HR(DDERR_NOCLIPPERATTACHED, screen.primary->GetClipper(&none_attached));
    EXPECT_TRUE(image->colorKeyed) << "set before SetColorKey, and it stays";
    // After a failed ReleaseDC the Image's DC stays out.
    DDrawFailCall(DDrawCall::ReleaseDC, generic);
    EXPECT_HR(generic, image->PaintText(nullptr, "1", 0, 0, RGB(255, 255, 255), 0));
    HDC dc = nullptr;
    EXPECT_HR(DDERR_DCALREADYCREATED, image->surface->GetDC(&dc));
}

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
    EXPECT_EQ(screen.window, window);
    EXPECT_EQ(ClientRectOf(window), (RECT{0, 0, 640, 480}));
    // The primary's reference, GetAttachedSurface's, and the Screen's own extra one.
    EXPECT_EQ(RefCount(screen.backBuffer), 3u);
    const DDSURFACEDESC2 desc = DescOf(screen.backBuffer);
    EXPECT_EQ(desc.dwWidth, 640u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwGBitMask, 0x07E0u);
    // Opened again, a Screen releases what it had, as a virtual call, then rebuilds.
    Release(image);
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
    Release(image);
    screen.ReleaseAll();
    Screen fresh;
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
        EXPECT_HR(E_FAIL, fresh.OpenFullScreen(window, 640, 480, 16));
        EXPECT_EQ(fresh.directDraw != nullptr, direct_draw);
        EXPECT_EQ(fresh.primary != nullptr, primary);
        EXPECT_EQ(fresh.backBuffer, nullptr);
        EXPECT_EQ(fresh.window, nullptr) << "written only by a successful opening";
        EXPECT_HR(S_OK, fresh.ReleaseAll());
        EXPECT_EQ(DDrawLive().direct_draws, 0);
    }
    EXPECT_HR(E_FAIL, fresh.OpenFullScreen(window, 800, 600, 16)) << "a mode the host lacks";
    fresh.ReleaseAll();
}

// Releasing a Screen twice does nothing. An Image's surface keeps the DirectDraw object
// alive after the Screen lets go of it; the display must still be handed back, or no other
// Screen could take it. The clipper is bound to the window and held by the primary alone.
TEST_F(ScreenTest, ReleaseAllAndClipper_HandTheDisplayBack) {
    EXPECT_HR(S_OK, screen.InstallClipper());
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_HR(DD_OK, screen.primary->GetClipper(&clipper));
    HWND bound = nullptr;
    clipper->GetHWnd(&bound);
    EXPECT_EQ(bound, window);
    EXPECT_EQ(clipper->Release(), 1u) << "the primary holds the clipper's only reference";
    EXPECT_HR(S_OK, screen.ReleaseAll());
    EXPECT_EQ(screen.directDraw, nullptr);
    EXPECT_EQ(screen.primary, nullptr);
    EXPECT_EQ(screen.backBuffer, nullptr);
    EXPECT_EQ(DDrawLive().surfaces, 1) << "the Image's";
    EXPECT_HR(S_OK, screen.ReleaseAll());
    EXPECT_EQ(DDrawLive().direct_draws, 1) << "still held by the Image's surface";
    Screen second;
    EXPECT_HR(S_OK, second.OpenFullScreen(window, 640, 480, 16));
    second.ReleaseAll();
}

TEST_F(ScreenTest, FillAndDraw_KeyOnlyWhenKeyed) {
    Fill(screen.backBuffer, 0xFFFF);
    EXPECT_HR(S_OK, screen.FillBackBuffer(0));
    EXPECT_EQ(ReadPixel(screen.backBuffer, 0, 0), 0u);
    EXPECT_EQ(ReadPixel(screen.backBuffer, 639, 479), 0u);
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
    Release(sprite);
}

// A bitmap is loaded at the size asked for (0 keeps its own) into system memory, unkeyed;
// the whole bitmap is stretched over the whole surface.
TEST_F(ScreenTest, LoadBitmapImage_SizesAndTheWholeBitmap) {
    Image* out = kPoison;
    ASSERT_HR(S_OK, screen.LoadBitmapImage(&out, "Bitmaps\\ZOBU1.bmp", 32, 32));
    const DDSURFACEDESC2 desc = DescOf(out->surface);
    EXPECT_EQ(std::make_pair(desc.dwWidth, desc.dwHeight), std::make_pair(32u, 32u));
    EXPECT_NE(desc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY, 0u);
    EXPECT_FALSE(out->colorKeyed);
    Release(out);
    ASSERT_HR(S_OK, screen.LoadBitmapImage(&out, "bitmaps\\zobu1.BMP", 0, 0));
    EXPECT_EQ(DescOf(out->surface).dwWidth, 50u) << "0 keeps the bitmap's own size";
    Release(out);

    MemoryBitmap two(2, 1);
    SetPixel(two.dc, 0, 0, RGB(255, 0, 0));
    SetPixel(two.dc, 1, 0, RGB(0, 0, 255));
    SelectObject(two.dc, bitmap); // DeleteDC would keep it selected
    Image* wide = MakeImage(4, 2);
    ASSERT_HR(S_OK, wide->PaintBitmap(two.bitmap, 0, 0, 0, 0));
    EXPECT_EQ(ReadPixel(wide->surface, 1, 1), 0xF800u);
    EXPECT_EQ(ReadPixel(wide->surface, 2, 0), 0x001Fu);
    Release(wide);
    SelectObject(two.dc, two.bitmap);
}

// A FOURCC surface is refused before any DC is made, if FOURCC is its only flag: the test
// is for equality, as DirectDraw's samples make it, so with another flag the refusal is
// GetDC's.
TEST_F(ScreenTest, PaintBitmap_FourccSurface) {
    DDSURFACEDESC2 desc = EmptyDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = desc.dwHeight = 4;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFourCC = MAKEFOURCC('Y', 'U', 'Y', '2');
    for (const auto& [flags, expected] : {std::pair<DWORD, HRESULT>{DDPF_FOURCC, E_NOTIMPL},
                                          {DDPF_FOURCC | DDPF_ALPHAPIXELS, DDERR_CANTCREATEDC}}) {
        desc.ddpfPixelFormat.dwFlags = flags;
        Image fourcc;
        ASSERT_HR(S_OK, fourcc.Create(screen.directDraw, &desc));
        EXPECT_HR(expected, fourcc.PaintBitmap(bitmap, 0, 0, 0, 0));
        fourcc.Destroy();
    }
}

TEST_F(ScreenTest, ApplyColorKey_EachFormat) {
    for (const auto& [bits, magenta] :
         {std::pair<int, DWORD>{16, 0xF81F}, {15, 0x7C1F}, {32, 0x00FF00FF}}) { // 32: unmasked
        SCOPED_TRACE(bits);
        Image* keyed = MakeImage(2, 2, bits);
        ASSERT_HR(S_OK, keyed->ApplyColorKey(0x00FF00FF));
        EXPECT_TRUE(keyed->colorKeyed);
        DDCOLORKEY key = {};
        ASSERT_HR(DD_OK, keyed->surface->GetColorKey(DDCKEY_SRCBLT, &key));
        EXPECT_EQ(std::make_pair(key.dwColorSpaceLowValue, key.dwColorSpaceHighValue),
                  std::make_pair(magenta, magenta));
        Release(keyed);
    }
    Image empty;
    empty.Destroy(); // without a surface, nothing to do
    EXPECT_FALSE(empty.colorKeyed);
    EXPECT_EQ(empty.MatchGdiColor(0x00FF00FF), 0u);
}

TEST_F(ScreenTest, MatchGdiColor_PutsPixelZeroBack) {
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
}

} // namespace
