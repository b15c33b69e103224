// Conformance: SetTimer and KillTimer, tick timing and TIMERPROC dispatch.
#include "support/platform_fixture.h"

#include "host/headless/headless.h"

namespace {

class TimerTest : public PlatformTest {
  protected:
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

    // The ids of every tick waiting now, in the order they are retrieved.
    std::vector<WPARAM> TakeWaitingIds() {
        MSG m = {};
        std::vector<WPARAM> ids;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            ids.push_back(m.wParam);
        }
        return ids;
    }

    bool TimerIsPending() {
        MSG m = {};
        return PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE) != FALSE;
    }
};

TEST_F(TimerTest, SetTimer_ShortPeriods_AreRaisedToTenMilliseconds) {
    struct Row {
        const char* name;
        UINT period_ms;
        uint64_t first_tick_ms;
    };
    static const Row rows[] = {
        {"zero", 0, 10}, {"one", 1, 10}, {"five", 5, 10}, {"ten", 10, 10}, {"eleven", 11, 11},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HeadlessReset(HeadlessClock::Virtual, kStartMs);
        HWND w = MakeWindow();
        SetTimer(w, 1, row.period_ms, nullptr);
        EXPECT_EQ(NextTicks(1), std::vector<uint64_t>{row.first_tick_ms});
        DestroyWindow(w);
    }
}

TEST_F(TimerTest, SetTimer_Starved_DropsMissedTicksAndKeepsThePhase) {
    HWND w = MakeWindow();
    SetTimer(w, 1, 50, nullptr);
    HeadlessAdvance(260);
    EXPECT_EQ(NextTicks(3), (std::vector<uint64_t>{260, 300, 350}));
}

TEST_F(TimerTest, SetTimer_ManyDueAtOnce_OnePendingTickEach) {
    HWND w = MakeWindow();
    SetTimer(w, 1, 20, nullptr);
    SetTimer(w, 2, 30, nullptr);
    HeadlessAdvance(100);
    // Due at 20 and 30 first: the earlier deadline comes first, and each comes once.
    EXPECT_EQ(TakeWaitingIds(), (std::vector<WPARAM>{1, 2}));
}

// The Pot's steering and step timers meet like this several times a minute: two ticks due
// at one millisecond come out in the order the timers were last armed, not in the order
// they were first made.
TEST_F(TimerTest, SetTimer_DueAtTheSameMillisecond_ComeOutInArmingOrder) {
    HWND w = MakeWindow();
    SetTimer(w, 1, 100, nullptr);
    SetTimer(w, 2, 100, nullptr);
    SetTimer(w, 1, 100, nullptr); // re-armed at the same moment: now the later of the two
    SetTimer(w, 3, 100, nullptr);
    HeadlessAdvance(100);
    EXPECT_EQ(TakeWaitingIds(), (std::vector<WPARAM>{2, 1, 3}));
}

// A window timer answers with its own id, arming or re-arming.
TEST_F(TimerTest, SetTimer_WindowTimer_ReturnsItsId) {
    HWND w = MakeWindow();
    EXPECT_EQ(SetTimer(w, 7, 100, nullptr), 7u);
    EXPECT_EQ(SetTimer(w, 3, 100, nullptr), 3u);
    EXPECT_EQ(SetTimer(w, 3, 50, nullptr), 3u);
}

TEST_F(TimerTest, SetTimer_RearmSameId_ReplacesPeriodAndRestarts) {
    HWND w = MakeWindow();
    EXPECT_NE(SetTimer(w, 1, 100, nullptr), 0u);
    HeadlessAdvance(60);
    EXPECT_NE(SetTimer(w, 1, 30, nullptr), 0u);
    EXPECT_EQ(NextTicks(2), (std::vector<uint64_t>{90, 120}));
}

TEST_F(TimerTest, SetTimer_RearmWhileDue_DropsTheDueTick) {
    HWND w = MakeWindow();
    SetTimer(w, 1, 50, nullptr);
    HeadlessAdvance(60);
    ASSERT_TRUE(TimerIsPending());
    SetTimer(w, 1, 50, nullptr);
    EXPECT_FALSE(TimerIsPending());
    EXPECT_EQ(NextTicks(1), std::vector<uint64_t>{110});
}

TEST_F(TimerTest, KillTimer_WhileDue_RemovesThePendingTick) {
    HWND w = MakeWindow();
    SetTimer(w, 1, 50, nullptr);
    HeadlessAdvance(60);
    ASSERT_TRUE(TimerIsPending());
    EXPECT_TRUE(KillTimer(w, 1));
    EXPECT_FALSE(TimerIsPending());
}

TEST_F(TimerTest, KillTimer_Unarmed_DoesNothing) {
    HWND w = MakeWindow();
    SetTimer(w, 1, 50, nullptr);
    EXPECT_FALSE(KillTimer(w, 2));
    EXPECT_FALSE(KillTimer(nullptr, 1));
    EXPECT_TRUE(KillTimer(w, 1));
    EXPECT_FALSE(KillTimer(w, 1));
}

TEST_F(TimerTest, DestroyWindow_KillsItsTimers) {
    HWND w = MakeWindow();
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

TEST_F(TimerTest, DispatchMessage_TimerWithProcedure_CallsItNotTheWindow) {
    calls.clear();
    HWND w = MakeWindow();
    SetTimer(w, 9, 40, RecordingTimerProc);
    MSG m = {};
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.lParam, reinterpret_cast<LPARAM>(RecordingTimerProc));
    MessageLog().clear();
    HeadlessAdvance(5); // the procedure gets the time of the dispatch
    DispatchMessageA(&m);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].window, w);
    EXPECT_EQ(calls[0].message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(calls[0].id, 9u);
    EXPECT_EQ(calls[0].time, GetTickCount());
    EXPECT_TRUE(MessageLog().empty());
}

TEST_F(TimerTest, DispatchMessage_TimerWithoutProcedure_GoesToTheWindow) {
    HWND w = MakeWindow();
    SetTimer(w, 3, 40, nullptr);
    MSG m = {};
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    MessageLog().clear();
    DispatchMessageA(&m);
    ExpectSequence({{w, WM_TIMER, true, 3, 0}}, MessageLog());
}

TEST_F(TimerTest, DispatchMessage_ForgedTimerProcedure_IsNotCalled) {
    calls.clear();
    HWND w = MakeWindow();
    SetTimer(w, 1, 40, RecordingTimerProc);
    struct Row {
        const char* name;
        UINT_PTR id;
        TIMERPROC procedure;
    };
    static const Row rows[] = {
        {"procedure of no timer", 1, OtherTimerProc},
        {"id of no timer", 2, RecordingTimerProc},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MSG m = {w, WM_TIMER, row.id, reinterpret_cast<LPARAM>(row.procedure), 0, {0, 0}};
        DispatchMessageA(&m);
        EXPECT_TRUE(calls.empty());
    }
}

} // namespace
