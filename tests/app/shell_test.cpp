// The shell in this process: how start-up fails, what a frame needs, and how a frame comes
// back after the display was taken away.
#include "app/shell.h"
#include "app/state.h"
#include "game/art.h"
#include "game/dropper.h"
#include "game/falling_item.h"
#include "game/pot.h"
#include "game/timers.h"
#include "screen/image.h"
#include "screen/screen.h"

#include "support/ddraw_helpers.h"
#include "support/game_run.h"
#include "support/platform_fixture.h"

#include "ddraw/ddraw_testing.h"
#include "host/headless/headless.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"
#include "res/resource.h"

#include <unistd.h>

#include <map>
#include <tuple>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

// A working directory with the game's art, the program's resources, and the process-wide
// state back at its start after each test: what the program itself never releases (the
// Screen, the speed figure, the skin) is released here, so that each test starts afresh.
class ShellTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        std::string error;
        ASSERT_TRUE(KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize,
                                             &error));
        LinkArt("."); // again for a test that runs its rows afresh
    }
    void TearDown() override {
        ReleaseArt(Dropper.image);
        ReleaseArt(Pot.image);
        ReleaseArt(FallingItem.image1);
        ReleaseArt(FallingItem.image2);
        ReleaseArt(background);
        ReleaseArt(speedText);
        if (gameScreen) {
            gameScreen->ReleaseAll();
            // A Screen has one virtual operation and, by design, no virtual destructor;
            // this one is exactly a Screen.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdelete-non-virtual-dtor"
            delete gameScreen;
#pragma GCC diagnostic pop
            gameScreen = nullptr;
        }
        DeleteObject(panelSkin);
        panelSkin = nullptr;
        scorePanel = nullptr;
        mainWindow = nullptr;
        ResetToStart(Dropper, Pot, FallingItem);
        ExpectAllReleased();
        PlatformTest::TearDown();
    }

    // The main window as WinMain makes it, then start-up.
    HRESULT Start() {
        WNDCLASSA c = {};
        c.lpfnWndProc = MainWndProc;
        c.hInstance = Instance();
        c.lpszClassName = "ZOBU4";
        RegisterClassA(&c);
        mainWindow =
            CreateWindowExA(0, "ZOBU4", "Zobu 4", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, Instance(), nullptr);
        ShowWindow(mainWindow, SW_SHOWDEFAULT);
        return StartGame(mainWindow);
    }

    TempWorkingDirectory directory;
};

// Start-up that fails is a failure: WinMain returns 1 at once, composes no frame and arms no
// timer. The display's two failures say so in a message box (on standard error here).
struct StartUpFailure {
    const char* name;
    void (*arrange)();
    const char* said;
    unsigned message_box_style; // 0: none
};

class StartUpFails : public ShellTest, public testing::WithParamInterface<StartUpFailure> {};

TEST_P(StartUpFails, WinMainReturnsOneWithoutAFrame) {
    GetParam().arrange();
    HeadlessScheduleClose(kStartMs + 5000);
    testing::internal::CaptureStderr();
    EXPECT_EQ(WinMain(Instance(), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), GetParam().said);
    EXPECT_EQ(HeadlessMessageBoxStyle(), GetParam().message_box_style);
    EXPECT_EQ(HeadlessPresentCount(), 0u) << "no frame composed";
    MSG m = {};
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "no timer";
}

INSTANTIATE_TEST_SUITE_P(
    Shell, StartUpFails,
    testing::Values(
        StartUpFailure{
            "NoDisplayMode", [] { DDrawFailCall(DDrawCall::SetDisplayMode, DDERR_INVALIDMODE); },
            "Zobu 4: This display card does not support this display mode. \n", MB_ICONHAND},
        StartUpFailure{"NoGdiOverThePicture", [] { DDrawSetCanRenderWindowed(false); },
                       "Zobu 4: This display card can not render GDI.\n", MB_ICONHAND},
        StartUpFailure{"NoClipper",
                       [] { DDrawFailCall(DDrawCall::CreateClipper, DDERR_OUTOFMEMORY); }, "", 0},
        StartUpFailure{"NoBackground", [] { unlink("Bitmaps/back1.bmp"); },
                       "zobu4: cannot load bitmap \"Bitmaps\\back1.bmp\": no such file\n", 0}),
    [](const testing::TestParamInfo<StartUpFailure>& failure) { return failure.param.name; });

// A frame needs the Screen's surfaces, the background and the speed figure; without any of
// them it is not presented (the golden frames show what a frame holds).
TEST_F(ShellTest, RenderFrame_NothingToDrawWith_PresentsNothing) {
    EXPECT_EQ(RenderFrame(), S_OK);
    EXPECT_EQ(HeadlessPresentCount(), 0u);
    ASSERT_EQ(Start(), S_OK);
    EXPECT_EQ(RenderFrame(), S_OK);
    const uint64_t presents = HeadlessPresentCount();
    EXPECT_GT(presents, 0u);
    DDrawFailCall(DDrawCall::CreateSurface, DDERR_OUTOFMEMORY);
    EXPECT_HR(DDERR_OUTOFMEMORY, RenderFrame()) << "no speed figure";
    EXPECT_EQ(HeadlessPresentCount(), presents);
    StopGame();
    EXPECT_EQ(background, nullptr);
    EXPECT_EQ(RenderFrame(), S_OK);
    EXPECT_EQ(HeadlessPresentCount(), presents) << "after shut-down";
    StopGame(); // twice is harmless
}

// The speed figure: the Pot's rung as GDI writes it, yellow on a magenta box the text's size,
// at (10, 10) of the back buffer, with the background around it. The panel covers it once
// presented, so no golden frame shows it.
TEST_F(ShellTest, RenderFrame_SpeedFigureAtTenTen) {
    ASSERT_EQ(Start(), S_OK);
    Pot.speed = 12;
    ASSERT_EQ(RenderFrame(), S_OK);
    MemoryBitmap text(16, 16);
    SetBkColor(text.dc, RGB(255, 0, 255));
    SetTextColor(text.dc, RGB(255, 255, 0));
    TextOutA(text.dc, 0, 0, "12", 2);
    HDC frame = nullptr, sky = nullptr;
    ASSERT_HR(DD_OK, gameScreen->backBuffer->GetDC(&frame));
    ASSERT_HR(DD_OK, background->surface->GetDC(&sky));
    for (int y = 10; y <= 26; ++y) {
        for (int x = 10; x <= 26; ++x) {
            const bool figure = x < 26 && y < 26;
            EXPECT_EQ(GetPixel(frame, x, y),
                      figure ? GetPixel(text.dc, x - 10, y - 10) : GetPixel(sky, x, y))
                << "(" << x << ", " << y << ")";
        }
    }
    background->surface->ReleaseDC(sky);
    gameScreen->backBuffer->ReleaseDC(frame);
}

// When another program takes the display, the present fails once; the primary is restored
// and the next frame draws everything again, rather than black for the rest of the run.
TEST_F(ShellTest, RenderFrame_DisplayLost_RestoredAndRedrawn) {
    ASSERT_EQ(Start(), S_OK);
    ASSERT_EQ(RenderFrame(), S_OK);
    const COLORREF sky = ScreenColor(600, 300), pot = ScreenColor(320, 450);
    LoseTheDisplay();
    EXPECT_EQ(RenderFrame(), DDERR_SURFACELOST);
    EXPECT_EQ(RenderFrame(), S_OK);
    EXPECT_EQ(ScreenColor(600, 300), sky);
    EXPECT_EQ(ScreenColor(320, 450), pot) << "the sprites, from system memory";
}

// Start-up arms the Pot's step, its steering and its acceleration at their periods; a drop
// arms the fall. StopGame kills all four; so does the main window's end, which also posts
// WM_QUIT.
TEST_F(ShellTest, StartGame_ArmsTheTimers_StopGameAndTheWindowsEndKillThem) {
    ASSERT_EQ(Start(), S_OK);
    SendMessageA(mainWindow, WM_COMMAND, ID_DROP, 0);
    std::map<WPARAM, uint64_t> first_tick;
    MSG m = {};
    while (first_tick.size() < 4 && ElapsedMs() <= 1000 && GetMessageA(&m, nullptr, 0, 0)) {
        if (m.message != WM_TIMER) {
            DispatchMessageA(&m); // paints and blinks; the timers are not, so the game stays
        } else if (!first_tick.count(m.wParam)) {
            first_tick[m.wParam] = ElapsedMs();
        }
    }
    EXPECT_EQ(first_tick[TIMER_POT_STEP], 83u);
    EXPECT_EQ(first_tick[TIMER_ACCELERATE], 333u);
    EXPECT_EQ(first_tick[TIMER_STEER], 1000u);
    EXPECT_GT(first_tick[TIMER_FALL], 0u);

    StopGame();
    EXPECT_EQ(background, nullptr);
    HeadlessScheduleClose(GetTickCount() + 3000);
    int ticks = 0;
    while (GetMessageA(&m, nullptr, 0, 0) && m.message != WM_CLOSE) {
        ticks += m.message == WM_TIMER;
        if (m.message != WM_TIMER) {
            DispatchMessageA(&m);
        }
    }
    EXPECT_EQ(ticks, 0) << "a timer outlived StopGame";
}

TEST_F(ShellTest, DestroyingTheMainWindow_StopsTheGameAndPostsQuit) {
    MSG m = {};
    ASSERT_EQ(Start(), S_OK);
    DestroyWindow(mainWindow);
    EXPECT_EQ(background, nullptr) << "WM_DESTROY stops the game";
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
}

// The score panel opens with the game, shaped by its skin, above the game's window that owns
// it, with the focus in its edit box. Alt+F4 there ends the game: the panel answers its
// Cancel by closing its owner, which takes the panel along, and the panel forgets itself.
// Painted and gone, it leaves nothing behind but the skin the program keeps.
TEST_F(ShellTest, ScorePanel_ShapedAndFocused_AltF4ThereEndsTheGame) {
    ASSERT_EQ(Start(), S_OK);
    const HWND panel = scorePanel;
    EXPECT_EQ(reinterpret_cast<HWND>(GetWindowLongPtrA(panel, GWLP_HWNDPARENT)), mainWindow);
    EXPECT_EQ(GetFocus(), GetDlgItem(panel, IDC_SCORE)) << "WM_INITDIALOG answered 1";
    EXPECT_EQ(WindowFromPoint({1, 1}), mainWindow) << "a cut-away corner";
    EXPECT_EQ(WindowFromPoint({157, 57}), mainWindow) << "a cut-away corner";
    EXPECT_EQ(WindowFromPoint({20, 28}), panel);
    DispatchWaiting();
    ScheduleKeys({VK_MENU, VK_F4});
    DispatchWaiting();
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(scorePanel, nullptr);
}

// The four keys are the game's commands, through WinMain's loop and its accelerators, while
// the score panel's edit box has the focus; the pointer is hidden over the game. Escape ends
// the loop without destroying the window.
TEST_F(ShellTest, WinMain_KeysFromTheHost_AreTheGamesCommands) {
    for (const auto& [at, key] : std::vector<std::pair<uint64_t, BYTE>>{
             {100, VK_RIGHT}, {200, VK_RIGHT}, {300, VK_LEFT}, {400, VK_SPACE}, {600, VK_ESCAPE}}) {
        HeadlessScheduleKey(kStartMs + at, key, true);
        HeadlessScheduleKey(kStartMs + at + 1, key, false);
    }
    HeadlessScheduleMouse(kStartMs + 500, 400, 300);
    EXPECT_EQ(WinMain(Instance(), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT), 0);
    EXPECT_EQ(Dropper.x, 258);
    EXPECT_EQ(FallingItem.drops, 1);
    EXPECT_FALSE(HeadlessCursorShown()) << "no pointer over the game";
    EXPECT_EQ(background, nullptr) << "stopped";
    EXPECT_TRUE(IsWindow(mainWindow)) << "Escape does not destroy the window";
}

} // namespace
