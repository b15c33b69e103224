// The game's rules: stepping, the Pot's ladder, falling, catching and the score.
#include "support/platform_fixture.h"

#include "app/state.h"
#include "game/dropper.h"
#include "game/falling_item.h"
#include "game/pot.h"
#include "game/timers.h"
#include "host/headless/headless.h"
#include "res/resource.h"

#include <stdlib.h>
#include <string.h>

#include <tuple>

namespace {

TEST(DropperRules, Step_MovesTwoPixelsWithinTheScreen) {
    using Row = std::tuple<int32_t, int32_t, int32_t>;
    static const Row rows[] = {
        {256, 0, 254}, {256, 1, 258}, {2, 0, 0},     {1, 0, 1},     {0, 0, 0},
        {510, 1, 512}, {511, 1, 511}, {512, 1, 512}, {256, 2, 256}, {256, -1, 256},
    };
    for (const auto& [from, direction, to] : rows) {
        class Dropper dropper;
        dropper.x = from;
        EXPECT_EQ(dropper.Step(direction), 0);
        EXPECT_EQ(dropper.x, to) << "from " << from << " direction " << direction;
        EXPECT_EQ(dropper.y, 85);
    }
}

// A step that would cross an edge is not shortened: the Pot stops short and waits there.
TEST(PotRules, Move_StopsShortOfTheEdges) {
    using Row = std::tuple<const char*, int32_t, int32_t, int32_t, int32_t>;
    // Each rung, each edge: the last step that reaches the edge, and the place it waits.
    static const Row rows[] = {
        {"5 right, moves", 5, 1, 575, 576},   {"5 right, waits", 5, 1, 576, 576},
        {"5 left, moves", 5, 0, 1, 0},        {"5 left, waits", 5, 0, 0, 0},
        {"8 right, moves", 8, 1, 574, 576},   {"8 right, waits", 8, 1, 575, 575},
        {"8 left, moves", 8, 0, 2, 0},        {"8 left, waits", 8, 0, 1, 1},
        {"10 right, moves", 10, 1, 573, 576}, {"10 right, waits", 10, 1, 574, 574},
        {"10 left, moves", 10, 0, 3, 0},      {"10 left, waits", 10, 0, 2, 2},
        {"12 right, moves", 12, 1, 572, 576}, {"12 right, waits", 12, 1, 573, 573},
        {"12 left, moves", 12, 0, 4, 0},      {"12 left, waits", 12, 0, 3, 3},
    };
    for (const auto& [name, speed, direction, from, to] : rows) {
        SCOPED_TRACE(name);
        class Pot pot;
        pot.speed = speed;
        pot.direction = direction;
        pot.x = from;
        EXPECT_EQ(pot.Move(), 0);
        EXPECT_EQ(pot.x, to);
    }
    // From anywhere on the floor, at any speed and in either direction, it stays on it.
    class Pot pot;
    for (int32_t speed : {5, 8, 10, 12}) {
        for (int32_t x = 0; x <= 576; ++x) {
            for (int32_t direction = 0; direction <= 1; ++direction) {
                pot.speed = speed;
                pot.x = x;
                pot.direction = direction;
                pot.Move();
                ASSERT_GE(pot.x, 0) << "from " << x;
                ASSERT_LE(pot.x, 576) << "from " << x;
            }
        }
    }
}

// The ladder: 5, 8, 10, 12, the top reported; a turn drops to 5, the same direction keeps
// the speed. A speed or direction off the ladder moves nothing and climbs nowhere.
TEST(PotRules, SteerAndAccelerate_TheLadder) {
    class Pot pot;
    pot.speed = 7;
    pot.Move();
    EXPECT_EQ(pot.x, 288);
    EXPECT_EQ(pot.Accelerate(), 0);
    EXPECT_EQ(pot.speed, 7);
    pot.speed = 5;
    pot.direction = 2;
    pot.Move();
    EXPECT_EQ(pot.x, 288);

    pot.direction = 0;
    pot.speed = 12;
    EXPECT_EQ(pot.Steer(0), 0);
    EXPECT_EQ(pot.speed, 12);
    EXPECT_EQ(pot.Steer(1), 1);
    EXPECT_EQ(pot.speed, 5);
    EXPECT_EQ(pot.direction, 1);
    for (const auto& [top, speed] : {std::pair{0, 8}, {0, 10}, {1, 12}, {0, 12}}) {
        EXPECT_EQ(pot.Accelerate(), top);
        EXPECT_EQ(pot.speed, speed);
    }
}

TEST(FallingItemRules, HitTest_MouthEdgesAreOutside) {
    // Mouth at (288, 416), 64 x 8; the item's test point is (x + 16, y + 16).
    using Row = std::tuple<const char*, int32_t, int32_t, int>;
    static const Row rows[] = {
        {"inside", 320, 420, 1},           {"left edge", 288, 420, 0},
        {"just right of it", 289, 420, 1}, {"right edge", 352, 420, 0},
        {"just left of it", 351, 420, 1},  {"top edge", 320, 416, 0},
        {"just below it", 320, 417, 1},    {"bottom edge", 320, 424, 0},
        {"just above it", 320, 423, 1},
    };
    for (const auto& [name, cx, cy, expected] : rows) {
        SCOPED_TRACE(name);
        class FallingItem item;
        item.state = 1;
        item.x = cx - 16;
        item.y = cy - 16;
        EXPECT_EQ(item.HitTest(288, 416, 64, 8), expected);
        EXPECT_EQ(item.state, expected ? 0 : 1);
    }
}

// Launched from the Dropper at 256, the item falls from 245 in steps of 6. The mouth test
// can pass only at heights 401 and 407, the 26th and 27th ticks; a miss ends on the 34th.
TEST(FallingItemRules, Fall_WorkedFlights) {
    using Row = std::tuple<const char*, int32_t, int32_t, int, int, int32_t>;
    static const Row rows[] = {
        {"caught at once", 288, 288, 26, 2, 401},
        {"caught a tick later", 0, 288, 27, 2, 407},
        {"missed", 0, 0, 34, 1, 443},
    };
    for (const auto& [name, pot_x_at_26, pot_x_later, want_ticks, want_result, final_y] : rows) {
        SCOPED_TRACE(name);
        class FallingItem item;
        item.Launch(256 + 64, 245);
        int ticks = 0, result = 0;
        while (result == 0 && ticks < 100) {
            ++ticks;
            const int32_t pot_x = ticks <= 26 ? pot_x_at_26 : pot_x_later;
            result = item.Fall(pot_x, 416, 64, 8);
        }
        EXPECT_EQ(ticks, want_ticks);
        EXPECT_EQ(result, want_result);
        EXPECT_EQ(item.y, final_y);
        EXPECT_EQ(item.hits, want_result == 2 ? 1 : 0);
    }
}

// The score fills the whole buffer with zeros first, and never writes past its size: a
// short buffer gets a cut score, terminated.
TEST(FallingItemRules, FormatScore_ZeroFillsAndNeverOverruns) {
    using Row = std::tuple<int32_t, int32_t, int32_t, const char*>;
    static const Row rows[] = {
        {3, 5, 12, "3/5"},
        {123, 456, 4, "123"},
        {1, 2, 3, "1/"}, // exactly as long as the text: no room for its end
    };
    for (const auto& [hits, drops, size, text] : rows) {
        SCOPED_TRACE(text);
        class FallingItem item;
        item.hits = hits;
        item.drops = drops;
        char buffer[16];
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(item.FormatScore(buffer, size), 0);
        EXPECT_STREQ(buffer, text);
        for (int32_t i = static_cast<int32_t>(strlen(text)); i < size; ++i) {
            EXPECT_EQ(buffer[i], 0) << i;
        }
        EXPECT_EQ(buffer[size], 'x');
    }
}

// A platform with the game's main window and a score panel, and the game objects at their
// start values.
class GameTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ResetToStart(Dropper, Pot, FallingItem);
        srand(1);
        mainWindow = MakeWindow(WS_POPUP | WS_VISIBLE);
        scorePanel = MakeWindow(WS_POPUP | WS_VISIBLE, mainWindow);
        MakeWindow(WS_CHILD | WS_VISIBLE, scorePanel, IDC_SCORE);
    }
    void TearDown() override {
        mainWindow = nullptr;
        scorePanel = nullptr;
        PlatformTest::TearDown();
    }
};

class DropTest : public GameTest {
  protected:
    // Runs the message loop until the flight in progress ends; returns its fall ticks.
    int FinishFlight() {
        int ticks = 0;
        MSG m = {};
        while (FallingItem.state != 0 && GetMessageA(&m, nullptr, 0, 0) > 0) {
            ticks += m.message == WM_TIMER && m.wParam == TIMER_FALL;
            DispatchMessageA(&m);
        }
        return ticks;
    }
    bool FallTimerArmed() {
        HeadlessAdvance(1000);
        MSG m = {};
        return PeekMessageA(&m, mainWindow, WM_TIMER, WM_TIMER, PM_NOREMOVE) &&
               m.wParam == TIMER_FALL;
    }
};

// The item leaves under the middle of the Dropper; a drop during a flight is not counted.
TEST_F(DropTest, OnDropCommand_LaunchesUnderTheMiddleOfTheDropper_OnceAFlight) {
    using Row = std::tuple<int32_t, int32_t>;
    static const Row rows[] = {{0, 64}, {256, 320}, {512, 576}};
    for (const auto& [dropper_x, launch_x] : rows) {
        FallingItem.state = 0;
        Dropper.x = dropper_x;
        OnDropCommand();
        EXPECT_EQ(FallingItem.x, launch_x);
        EXPECT_EQ(FallingItem.y, 245);
        EXPECT_TRUE(FallingItem.state == 1 || FallingItem.state == 2);
    }
    EXPECT_EQ(FallingItem.drops, 3);
    Dropper.x = 0;
    OnDropCommand();
    EXPECT_EQ(FallingItem.drops, 3);
    EXPECT_EQ(FallingItem.x, 576);
    EXPECT_EQ(FallingItem.y, 245);
}

TEST_F(DropTest, FlightEnds_WithoutAPanel_SendsNothingAndStopsTheTimer) {
    DestroyWindow(scorePanel);
    scorePanel = nullptr;
    Pot.x = 0;
    OnDropCommand();
    EXPECT_EQ(FinishFlight(), 34);
    EXPECT_FALSE(FallTimerArmed());
}

// The acceleration timer climbs to the top of the ladder and then kills itself.
using PotTimerTest = GameTest;
TEST_F(PotTimerTest, AccelerateTimer_KillsItselfAtTheTop) {
    Pot.speed = 10;
    SetTimer(mainWindow, TIMER_ACCELERATE, 333, OnAccelerateTimer);
    HeadlessScheduleClose(kStartMs + 1000);
    int ticks = 0;
    MSG m = {};
    while (GetMessageA(&m, nullptr, 0, 0) && m.message != WM_CLOSE) {
        ticks += m.message == WM_TIMER && m.wParam == TIMER_ACCELERATE;
        DispatchMessageA(&m);
    }
    EXPECT_EQ(Pot.speed, 12);
    EXPECT_EQ(ticks, 1) << "one tick to the top, then none";
}

} // namespace
