// The Pot's three timers over ten seconds of virtual time, armed as start-up arms them.
#include "game/game_fixture.h"

#include "app/state.h"
#include "game/pot.h"
#include "game/timers.h"
#include "host/headless/headless.h"

namespace {

struct Tick {
    uint64_t at_ms;
    WPARAM id;
    int32_t direction_before, direction_after;
    int32_t speed_after;
    int32_t x_after;
};

class WorldTest : public GameTest {
  protected:
    std::vector<Tick> RunPotTimers(uint64_t duration_ms) {
        SetTimer(mainWindow, TIMER_POT_STEP, 83, OnPotStepTimer);
        SetTimer(mainWindow, TIMER_STEER, 1000, OnSteerTimer);
        SetTimer(mainWindow, TIMER_ACCELERATE, 333, OnAccelerateTimer);
        HeadlessScheduleClose(kStartMs + duration_ms);
        std::vector<Tick> ticks;
        MSG m = {};
        while (IsWindow(mainWindow) && GetMessageA(&m, nullptr, 0, 0) > 0) {
            const int32_t direction_before = Pot.direction;
            DispatchMessageA(&m);
            if (m.message == WM_TIMER) {
                ticks.push_back({m.time - kStartMs, m.wParam, direction_before, Pot.direction,
                                 Pot.speed, Pot.x});
            }
        }
        return ticks;
    }
};

TEST_F(WorldTest, PotTimers_TenSeconds_FollowTheLadderAndTheSteering) {
    const std::vector<Tick> ticks = RunPotTimers(10000);
    ASSERT_GT(ticks.size(), 50u);

    // The ladder is climbed by 1 s: 8, 10, 12 at 333, 666 and 999 ms.
    std::vector<Tick> first_accelerations;
    for (const Tick& t : ticks) {
        if (t.id == TIMER_ACCELERATE && first_accelerations.size() < 3) {
            first_accelerations.push_back(t);
        }
    }
    ASSERT_EQ(first_accelerations.size(), 3u);
    EXPECT_EQ(first_accelerations[0].at_ms, 333u);
    EXPECT_EQ(first_accelerations[0].speed_after, 8);
    EXPECT_EQ(first_accelerations[1].at_ms, 666u);
    EXPECT_EQ(first_accelerations[1].speed_after, 10);
    EXPECT_EQ(first_accelerations[2].at_ms, 999u);
    EXPECT_EQ(first_accelerations[2].speed_after, 12);

    bool accelerate_armed = true;
    uint64_t accelerate_due = 333;
    uint64_t steered_at = 0;
    uint64_t step_period = 83;
    int turns = 0;
    for (const Tick& t : ticks) {
        SCOPED_TRACE(testing::Message() << "tick of timer " << t.id << " at " << t.at_ms);
        ASSERT_GE(t.x_after, 0);
        ASSERT_LE(t.x_after, 576);
        switch (t.id) {
        case TIMER_STEER:
            steered_at = t.at_ms;
            step_period = 1000 / static_cast<uint64_t>(t.speed_after);
            if (t.direction_after != t.direction_before) {
                ++turns;
                EXPECT_EQ(t.speed_after, 5);
                accelerate_armed = true; // re-armed by the turn
                accelerate_due = t.at_ms + 333;
            }
            break;
        case TIMER_POT_STEP:
            // Each steering tick re-arms the step timer with the period of the speed.
            EXPECT_EQ((t.at_ms - steered_at) % step_period, 0u) << "period " << step_period;
            break;
        case TIMER_ACCELERATE:
            EXPECT_TRUE(accelerate_armed) << "the acceleration timer ticked after reaching 12";
            EXPECT_EQ(t.at_ms, accelerate_due);
            accelerate_due += 333;
            if (t.speed_after == 12) {
                accelerate_armed = false; // killed by itself at the top
            }
            break;
        default:
            ADD_FAILURE() << "unexpected timer";
        }
    }
    EXPECT_GE(turns, 2) << "the seed should give this run some turns to check";
}

} // namespace
