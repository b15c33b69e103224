// The SDL host replaying a script, on a clock the test moves: inputs are taken when due, and
// none overtakes a snapshot still waiting for the game to be idle.
#include "host/sdl/sdl_host.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

namespace {

uint64_t now_ms = 0;

TEST(SdlHostReplay, AnInputDueAfterAWaitingSnapshot_WaitsBehindIt) {
    setenv("SDL_VIDEODRIVER", "dummy", 1); // a window without a display
    setenv("DISPLAY", ":0", 0);
    SdlOptions options;
    options.windowed = true;
    std::string error;
    const HostOps* host = SdlHostOpen(options, &error);
    ASSERT_NE(host, nullptr) << error;
    SdlHostSetClock([] { return now_ms; });
    char path[] = "/tmp/zobu4-replay-XXXXXX.png";
    close(mkstemps(path, 4));
    unlink(path);
    HostInput escape;
    escape.kind = HostInputKind::Key;
    escape.virtual_key = 0x1B;
    escape.down = true;
    SdlHostSchedule(100, escape, "");
    SdlHostSchedule(200, HostInput(), path);
    SdlHostSchedule(300, escape, "");

    HostInput got;
    now_ms = 99;
    EXPECT_FALSE(host->poll_input(&got)) << "not yet due";
    now_ms = 400; // everything due at once: the game has been busy
    ASSERT_TRUE(host->poll_input(&got));
    EXPECT_FALSE(host->poll_input(&got)) << "the second Escape overtook the snapshot";
    EXPECT_NE(access(path, F_OK), 0) << "a snapshot waits for the game to be idle";
    host->wait_until(400);
    EXPECT_EQ(access(path, F_OK), 0) << "idle: the snapshot is taken";
    EXPECT_TRUE(host->poll_input(&got));
    EXPECT_EQ(got.virtual_key, 0x1B);
    SdlHostSetClock(nullptr);
    SdlHostClose();
    unlink(path);
}

} // namespace
