// Conformance: the message queue's retrieval order, filters, blocking and dispatch. The
// tests before the last few use the Windows API alone and run under Wine too.
#include "support/platform_fixture.h"

#ifndef _WIN32
#include "host/headless/headless.h"
#endif

namespace {

using MessageQueueTest = PlatformTest;

// WM_QUIT ends GetMessage with 0 and the exit code, whatever the filter, and is retrieved
// once; a filter naming a window that is gone is an error, -1.
TEST_F(MessageQueueTest, GetMessage_QuitIgnoresTheFilter_AGoneWindowIsMinusOne) {
    HWND w = MakeWindow();
    PostQuitMessage(42);
    MSG m = {};
    EXPECT_EQ(GetMessageA(&m, w, WM_USER, WM_USER), FALSE);
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(m.wParam, 42u);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(w);
    EXPECT_EQ(GetMessageA(&m, w, 0, 0), -1);
}

TEST_F(MessageQueueTest, PeekMessage_Filters_WindowAndRange) {
    HWND a = MakeWindow();
    HWND b = MakeWindow();
    HWND child = MakeWindow(WS_CHILD, b, 5);
    PostMessageA(a, WM_USER + 1, 0, 0);
    PostMessageA(child, WM_USER + 2, 0, 0);
    PostMessageA(b, WM_USER + 3, 0, 0);
    PostMessageA(nullptr, WM_USER + 4, 0, 0);

    MSG m = {};
    // A window filter takes the window's own messages and its children's.
    ASSERT_TRUE(PeekMessageA(&m, b, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 2));
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_USER + 3, WM_USER + 4, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 3));
    // (HWND)-1 takes only messages that belong to no window.
    ASSERT_TRUE(PeekMessageA(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 4));
    // PM_NOREMOVE leaves it where it is.
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, DestroyWindow_DropsItsPostedMessages) {
    HWND a = MakeWindow();
    HWND b = MakeWindow();
    PostMessageA(a, WM_USER, 0, 0);
    PostMessageA(b, WM_USER + 1, 0, 0);
    DestroyWindow(a);
    MSG m = {};
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.hwnd, b);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PostMessageA(a, WM_USER, 0, 0));
}

// A paint left unanswered (no BeginPaint, no ValidateRect) comes again, for as long as the
// window has something to paint; the default procedure's answer paints it.
TEST_F(MessageQueueTest, DispatchMessage_PaintNotAnswered_ComesAgain) {
    static int paints = 0;
    paints = 0;
    WNDCLASSA c = {};
    c.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_PAINT && ++paints < 3) {
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    };
    c.hInstance = Instance();
    c.lpszClassName = "IgnoresPaint";
    RegisterClassA(&c);
    HWND w = CreateWindowExA(0, "IgnoresPaint", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                             nullptr, Instance(), nullptr);
    MSG m = {};
    while (paints < 10 && PeekMessageA(&m, w, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageA(&m);
    }
    EXPECT_EQ(paints, 3);
    DestroyWindow(w);
}

#ifndef _WIN32
// These need our host's hooks (input it is given, its clock, the end of its script), so they
// run on our floor alone.

// Every kind of message is waiting at once: posted (two), quit, input, paint and a due
// timer. Windows hands them out posted first, then WM_QUIT, then input, paint and timer.
TEST_F(MessageQueueTest, GetMessage_RetrievalOrder_PostedQuitInputPaintTimer) {
    HWND w = MakeSizedWindow(8, 8);
    ShowWindow(w, SW_SHOW); // leaves the window wanting WM_PAINT
    SetTimer(w, 7, 10, nullptr);
    HeadlessScheduleKey(kStartMs, VK_SPACE, true);
    HeadlessAdvance(10);
    PostQuitMessage(3);
    PostMessageA(w, WM_USER + 1, 0, 0);
    PostMessageA(w, WM_USER + 2, 0, 0);

    std::vector<UINT> got;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        got.push_back(m.message);
        DispatchMessageA(&m);
    }
    EXPECT_EQ(got, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_QUIT, WM_KEYDOWN, WM_PAINT,
                                      WM_TIMER}));
}

// With nothing due, GetMessage waits on the host for the timer, or for input that comes
// first.
TEST_F(MessageQueueTest, GetMessage_NothingDue_WaitsForTheTimerOrEarlierInput) {
    HWND w = MakeWindow(WS_POPUP | WS_VISIBLE);
    SetTimer(w, 1, 250, nullptr);
    MSG m = {};
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(ElapsedMs(), 250u);
    EXPECT_EQ(m.time, static_cast<DWORD>(kStartMs + 250));
    HeadlessScheduleKey(kStartMs + 290, VK_LEFT, true);
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(ElapsedMs(), 290u);
}

TEST_F(MessageQueueTest, GetMessage_ScriptEndsWithNothingArmed_ClosesTheMainWindow) {
    HWND main = MakeWindow();
    ShowWindow(main, SW_SHOW);
    MSG m = {};
    std::vector<UINT> retrieved;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        retrieved.push_back(m.message);
        DispatchMessageA(&m);
        if (!IsWindow(main)) {
            break;
        }
    }
    EXPECT_FALSE(IsWindow(main)); // WM_CLOSE reached DefWindowProcA, which destroyed it
    EXPECT_EQ(retrieved.back(), static_cast<UINT>(WM_CLOSE));
}
#endif

} // namespace
