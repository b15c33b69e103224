// The SDL host's signals: SIGINT and SIGTERM end the game through its own quit.
#include "host/sdl/event_wait.h"

#include <gtest/gtest.h>

#include <signal.h>

namespace {

void (*HandlerOf(int signal_number))(int) {
    struct sigaction now = {};
    sigaction(signal_number, nullptr, &now);
    return now.sa_handler;
}

// A signal is taken once, and a wait it comes before does not sleep on it; the second of a
// kind ends the program as by default. A signal the shell told the game to ignore (a
// background job's SIGINT) stays ignored. Closing gives the default actions back.
TEST(EventWaitSignals, TakenOnceThenTheDefault_IgnoredStaysIgnored) {
    signal(SIGINT, SIG_IGN);
    EventWaitCatchSignals();
    EXPECT_EQ(HandlerOf(SIGINT), SIG_IGN) << "ignored by the shell: stays ignored";
    ASSERT_NE(HandlerOf(SIGTERM), SIG_DFL);
    EXPECT_FALSE(EventWaitTakeSignal());
    raise(SIGTERM);
    SDL_Event event = {};
    EXPECT_FALSE(EventWait(1000, &event)) << "no event: the signal ended the wait";
    EXPECT_EQ(HandlerOf(SIGTERM), SIG_DFL) << "a second SIGTERM ends the program";
    EXPECT_TRUE(EventWaitTakeSignal());
    EXPECT_FALSE(EventWaitTakeSignal()) << "taken once";
    EventWaitClose();
    EventWaitCatchSignals(); // as the host's next opening would
    EXPECT_NE(HandlerOf(SIGTERM), SIG_DFL);
    EventWaitClose();
    EXPECT_EQ(HandlerOf(SIGTERM), SIG_DFL) << "given back";
    EXPECT_EQ(HandlerOf(SIGINT), SIG_IGN);
    signal(SIGINT, SIG_DFL);
}

} // namespace
