// The game objects' art: loaded keyed on magenta, the first failure ends a load, and an
// object's art goes with the object.
#include "game/art.h"
#include "game/dropper.h"
#include "game/falling_item.h"
#include "screen/image.h"
#include "screen/screen.h"

#include "support/bmp_writer.h"
#include "support/ddraw_helpers.h"

#include "ddraw/ddraw_testing.h"

namespace {

class ArtTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        window = MakeWindow(WS_POPUP | WS_VISIBLE);
        ASSERT_HR(S_OK, screen.OpenFullScreen(window, 640, 480, 16));
        BmpLayout magenta;
        magenta.width = magenta.height = 8;
        magenta.paint = [](int32_t, int32_t) { return 0xFF00FFu; };
        for (const char* name : {"Bitmaps/ZOBU1.bmp", "Bitmaps/ZOBU2.bmp", "Bitmaps/Quib1.bmp"}) {
            WriteFile(name, WriteBmp(magenta));
        }
    }
    void TearDown() override {
        screen.ReleaseAll();
        EXPECT_EQ(DDrawLive().surfaces, 0) << "art left behind";
        PlatformTest::TearDown();
    }

    TempWorkingDirectory directory;
    HWND window = nullptr;
    Screen screen;
};

TEST_F(ArtTest, LoadArtImage_KeysOnMagenta_AndReportsTheKeysFailure) {
    Image* image = nullptr;
    ASSERT_HR(S_OK, LoadArtImage(&screen, &image, "Bitmaps\\ZOBU1.bmp", 8, 8));
    DDCOLORKEY key = {};
    EXPECT_HR(DD_OK, image->surface->GetColorKey(DDCKEY_SRCBLT, &key));
    EXPECT_EQ(key.dwColorSpaceLowValue, 0xF81Fu) << "magenta in 5:6:5";
    ReleaseArt(image);
    EXPECT_EQ(image, nullptr);

    DDrawFailCall(DDrawCall::SetColorKey, DDERR_GENERIC);
    EXPECT_HR(DDERR_GENERIC, LoadArtImage(&screen, &image, "Bitmaps\\ZOBU1.bmp", 8, 8));
    EXPECT_NE(image, nullptr) << "the unkeyed image stays, as the screen layer leaves it";
    ReleaseArt(image);
    ReleaseArt(image); // a second release does nothing
}

// The falling item's two pictures load in order, and the first failure ends the load.
TEST_F(ArtTest, FallingItem_LoadArt_FirstFailureStopsTheLoad) {
    class FallingItem item;
    unlink("Bitmaps/ZOBU1.bmp");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(FAILED(item.LoadArt(&screen)));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(item.image1, nullptr);
    EXPECT_EQ(item.image2, nullptr) << "the second is not tried";
}

// An object takes its art with it when it goes.
TEST_F(ArtTest, Destructors_ReleaseTheArt) {
    const int before = DDrawLive().surfaces;
    {
        class Dropper dropper;
        class FallingItem item;
        ASSERT_HR(S_OK, dropper.LoadArt(&screen));
        ASSERT_HR(S_OK, item.LoadArt(&screen));
        EXPECT_EQ(DDrawLive().surfaces, before + 3);
    }
    EXPECT_EQ(DDrawLive().surfaces, before);
}

} // namespace
