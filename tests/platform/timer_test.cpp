// Conformance: SetTimer and KillTimer, tick timing and TIMERPROC dispatch.
#include "support/platform_fixture.h"

#include "host/headless/headless.h"

namespace {

class TimerTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        w = MakeWindow();
    }

    // The times (since the test started) of the next `count` WM_TIMER messages retrieved.
    std::vector<uint64_t> NextTicks(int count) {
        std::vector<uint64_t> ticks;
        MSG m = {};
        while (static_cast<int>(ticks.size()) < count && GetMessageA(&m, nullptr, 0, 0) > 0) {
            if (m.message == WM_TIMER) {
                ticks.push_back(m.time - kStartMs);
            }
        }
        return ticks;
    }

    // The ids of every tick waiting after `ms` more milliseconds, in the order retrieved.
    std::vector<WPARAM> IdsWaitingAfter(uint64_t ms) {
        HeadlessAdvance(ms);
        std::vector<WPARAM> ids;
        for (const LoggedMessage& m : DispatchWaiting(false)) {
            ids.push_back(m.wParam);
        }
        return ids;
    }

    bool TimerIsPending() {
        MSG m = {};
        return PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE) != FALSE;
    }

    HWND w = nullptr;
};

TEST_F(TimerTest, SetTimer_ShortPeriods_AreRaisedToTenMilliseconds) {
    for (const auto& [period, first_tick] :
         std::vector<std::pair<UINT, uint64_t>>{{0, 10}, {1, 10}, {5, 10}, {10, 10}, {11, 11}}) {
        SCOPED_TRACE(period);
        HeadlessReset(HeadlessClock::Virtual, kStartMs);
        SetTimer(w, 1, period, nullptr);
        EXPECT_EQ(NextTicks(1), std::vector<uint64_t>{first_tick});
    }
}

// A starved timer drops the ticks it missed and keeps its phase; many due at once wait one
// tick each, earliest deadline first; two due at one millisecond come out in the order the
// timers were last armed (the Pot's steering and step timers meet like this several times a
// minute), not in the order they were first made.
TEST_F(TimerTest, SetTimer_DueTicks_OneEachInDeadlineThenArmingOrder) {
    SetTimer(w, 1, 50, nullptr);
    HeadlessAdvance(260);
    EXPECT_EQ(NextTicks(3), (std::vector<uint64_t>{260, 300, 350}));
    KillTimer(w, 1);

    SetTimer(w, 1, 20, nullptr);
    SetTimer(w, 2, 30, nullptr);
    EXPECT_EQ(IdsWaitingAfter(100), (std::vector<WPARAM>{1, 2}));
    KillTimer(w, 1);
    KillTimer(w, 2);

    SetTimer(w, 1, 100, nullptr);
    SetTimer(w, 2, 100, nullptr);
    SetTimer(w, 1, 100, nullptr); // re-armed at the same moment: now the later of the two
    SetTimer(w, 3, 100, nullptr);
    EXPECT_EQ(IdsWaitingAfter(100), (std::vector<WPARAM>{2, 1, 3}));
}

// A window timer answers with its own id, arming or re-arming. Re-armed, it takes the new
// period from that moment, and a tick already due is dropped.
TEST_F(TimerTest, SetTimer_Rearm_ReturnsTheIdRestartsAndDropsTheDueTick) {
    EXPECT_EQ(SetTimer(w, 7, 100, nullptr), 7u);
    EXPECT_EQ(SetTimer(w, 3, 100, nullptr), 3u);
    EXPECT_EQ(SetTimer(w, 3, 50, nullptr), 3u);
    KillTimer(w, 3);
    KillTimer(w, 7);

    SetTimer(w, 1, 100, nullptr);
    HeadlessAdvance(60);
    SetTimer(w, 1, 30, nullptr);
    EXPECT_EQ(NextTicks(2), (std::vector<uint64_t>{90, 120}));

    HeadlessAdvance(40);
    ASSERT_TRUE(TimerIsPending());
    SetTimer(w, 1, 50, nullptr);
    EXPECT_FALSE(TimerIsPending());
    EXPECT_EQ(NextTicks(1), std::vector<uint64_t>{210});
}

// Killing a due timer takes its tick too; killing what is not armed fails; a destroyed
// window's timers go with it.
TEST_F(TimerTest, KillTimer_AndDestroyWindow_TakeTheDueTick) {
    SetTimer(w, 1, 50, nullptr);
    HeadlessAdvance(60);
    ASSERT_TRUE(TimerIsPending());
    EXPECT_FALSE(KillTimer(w, 2));
    EXPECT_FALSE(KillTimer(nullptr, 1));
    EXPECT_TRUE(KillTimer(w, 1));
    EXPECT_FALSE(TimerIsPending());
    EXPECT_FALSE(KillTimer(w, 1));

    SetTimer(w, 1, 50, nullptr);
    HeadlessAdvance(60);
    DestroyWindow(w);
    EXPECT_FALSE(TimerIsPending());
    EXPECT_FALSE(KillTimer(w, 1));
    EXPECT_EQ(SetTimer(w, 1, 50, nullptr), 0u); // no longer a window
}

// Records the calls of a timer procedure.
struct ProcedureCall {
    HWND window;
    UINT message;
    UINT_PTR id;
    DWORD time;
};
std::vector<ProcedureCall> calls;
void CALLBACK RecordingTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time) {
    calls.push_back({window, message, id, time});
}
void CALLBACK OtherTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    calls.push_back({});
}

// A timer with a procedure calls it, with the time of the dispatch, and not the window; one
// without goes to the window. A forged WM_TIMER names no procedure that will be called.
TEST_F(TimerTest, DispatchMessage_TheProcedureOrTheWindow_NeverAForgery) {
    calls.clear();
    SetTimer(w, 9, 40, RecordingTimerProc);
    SetTimer(w, 3, 41, nullptr);
    MSG m = {};
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.lParam, reinterpret_cast<LPARAM>(RecordingTimerProc));
    MessageLog().clear();
    HeadlessAdvance(5);
    DispatchMessageA(&m);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].window, w);
    EXPECT_EQ(calls[0].message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(calls[0].id, 9u);
    EXPECT_EQ(calls[0].time, GetTickCount());
    EXPECT_TRUE(MessageLog().empty());

    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    DispatchMessageA(&m);
    EXPECT_TRUE(SameSequence({{w, WM_TIMER, true, 3, 0}}, MessageLog()));

    calls.clear();
    for (const auto& [id, procedure] :
         {std::pair<UINT_PTR, TIMERPROC>{9, OtherTimerProc}, {2, RecordingTimerProc}}) {
        MSG forged = {w, WM_TIMER, id, reinterpret_cast<LPARAM>(procedure), 0, {0, 0}};
        DispatchMessageA(&forged);
    }
    EXPECT_TRUE(calls.empty());
}

} // namespace
