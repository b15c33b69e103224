// The SDL host's game clock, on a real clock the test moves, in a window of SDL's dummy video
// driver: it stops at whatever falls due, takes live input only when it moves, and replays a
// script as the headless host does.
#include "host/sdl/sdl_host.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

namespace {

uint64_t real_ms = 0;
constexpr uint8_t kEscape = 0x1B, kLeft = 0x25;

class SdlClock : public ::testing::Test {
  protected:
    void SetUp() override {
        // A window without a display, and no display: nothing for D-Bus to start a session for.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        SdlOptions options;
        options.windowed = true;
        std::string error;
        host_ = SdlHostOpen(options, &error);
        ASSERT_NE(host_, nullptr) << error;
        real_ms = 1000;
        SdlHostSetClock([] { return real_ms; });
        SdlHostStartTick(1000);
    }
    void TearDown() override {
        SdlHostSetClock(nullptr);
        SdlHostSchedule().Clear();
        SdlHostClose();
    }
    // A key as the window system reports it.
    static void PressLive(SDL_Scancode code) {
        SDL_Event e = {};
        e.type = SDL_KEYDOWN;
        e.key.keysym.scancode = code;
        SDL_PushEvent(&e);
    }
    const HostOps* host_ = nullptr;
};

// A program that falls behind meets its timers at their own times, one by one, as the
// headless host would have it, and a key that came meanwhile is taken at the first of them,
// before the timer (input goes first), not at the time the clock would read.
TEST_F(SdlClock, BehindItsTimers_StopsAtEachAndTakesTheKeyAtTheFirst) {
    real_ms = 1040; // start-up took 40 ms: the game's clock has not moved
    EXPECT_EQ(host_->now_ms(), 1000u);
    real_ms = 1300; // busy past two deadlines, a key pressed meanwhile
    PressLive(SDL_SCANCODE_LEFT);
    host_->wait_until(1083);
    EXPECT_EQ(host_->now_ms(), 1083u);
    HostInput got;
    ASSERT_TRUE(host_->poll_input(&got));
    EXPECT_EQ(got.virtual_key, kLeft);
    EXPECT_FALSE(host_->poll_input(&got));
    host_->wait_until(1166);
    EXPECT_EQ(host_->now_ms(), 1166u) << "the next deadline, not the real clock's 1300";
    PressLive(SDL_SCANCODE_ESCAPE); // caught up: a key ends the wait at the real time
    real_ms = 1320;
    host_->wait_until(1400);
    EXPECT_EQ(host_->now_ms(), 1320u);
    ASSERT_TRUE(host_->poll_input(&got));
    EXPECT_EQ(got.virtual_key, kEscape);
}

// A key that comes after a timer the program has handled lands a millisecond after it: within
// that timer's millisecond (at one reading, input never follows a timer that reading already
// served), and also a minute later, when the program was stopped (Ctrl+Z) and goes on from
// where it was rather than racing through the timers it missed.
class SdlClockKeyAfterTimer : public SdlClock, public ::testing::WithParamInterface<uint64_t> {};

TEST_P(SdlClockKeyAfterTimer, LandsAMillisecondAfterIt) {
    real_ms = GetParam();
    host_->wait_until(1083);
    EXPECT_EQ(host_->now_ms(), 1083u);
    PressLive(SDL_SCANCODE_LEFT);
    host_->wait_until(1166);
    EXPECT_EQ(host_->now_ms(), 1084u);
}

INSTANTIATE_TEST_SUITE_P(RealClock, SdlClockKeyAfterTimer,
                         ::testing::Values(uint64_t{1083}, uint64_t{61000}));

// A script in the window: an input comes when the game's clock reaches it, not before; a
// snapshot waits for the program to be idle at its time, and nothing after it overtakes it.
TEST_F(SdlClock, ScriptedEvents_ComeOnTheGameClock) {
    char path[] = "/tmp/zobu4-replay-XXXXXX.png";
    close(mkstemps(path, 4));
    unlink(path);
    HostInput escape;
    escape.virtual_key = kEscape;
    escape.down = true;
    SdlHostSchedule().AddInput(1100, escape);
    SdlHostSchedule().AddWhenIdle(1200, [&] { SdlHostSnapshot(path); });
    SdlHostSchedule().AddInput(1300, escape);

    HostInput got;
    EXPECT_FALSE(host_->poll_input(&got)) << "not yet due";
    real_ms = 1400; // the program was busy: the clock still stops at each event
    host_->wait_until(kHostForever);
    EXPECT_EQ(host_->now_ms(), 1100u);
    ASSERT_TRUE(host_->poll_input(&got));
    EXPECT_FALSE(host_->poll_input(&got));
    host_->wait_until(kHostForever);
    EXPECT_EQ(host_->now_ms(), 1200u);
    EXPECT_FALSE(host_->poll_input(&got)) << "the second Escape overtook the snapshot";
    EXPECT_NE(access(path, F_OK), 0) << "a snapshot waits for the program to be idle";
    host_->wait_until(kHostForever);
    EXPECT_EQ(access(path, F_OK), 0) << "idle: the snapshot is taken";
    EXPECT_EQ(host_->now_ms(), 1300u);
    EXPECT_TRUE(host_->poll_input(&got));
    EXPECT_EQ(got.virtual_key, kEscape);
    unlink(path);
}

} // namespace
