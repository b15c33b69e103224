// Conformance: the caret. A bar inverted in its owner's client area, created hidden, shown
// and hidden cumulatively, blinking by WM_SYSTIMER every GetCaretBlinkTime(), hidden by
// BeginPaint and shown again by EndPaint.
#include "support/platform_fixture.h"

#include "host/headless/headless.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr UINT kSysTimer = 0x0118;

class CaretTest : public PlatformTest {
  protected:
    // A shown 40 x 30 window at the screen's corner, painted white.
    HWND MakeWhiteWindow() {
        HWND w = MakeSizedWindow(40, 30, WS_POPUP | WS_VISIBLE);
        DispatchWaiting();
        HDC dc = GetDC(w);
        const RECT all = {0, 0, 40, 30};
        FillRect(dc, &all, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        ReleaseDC(w, dc);
        return w;
    }

    // Whether the bar of a 2 x 5 caret at (x, y) is all `inside`, and the pixels around it
    // white. Use as EXPECT_TRUE(BarIs(...)), so that a failure names the caller's line.
    static testing::AssertionResult BarIs(int x, int y, COLORREF inside) {
        for (int py = y - 1; py <= y + 5; ++py) {
            for (int px = x - 1; px <= x + 2; ++px) {
                const bool in = px >= x && px < x + 2 && py >= y && py < y + 5;
                if (ScreenColor(px, py) != (in ? inside : kWhite)) {
                    return testing::AssertionFailure()
                           << "(" << px << ", " << py << ") is " << std::hex << ScreenColor(px, py);
                }
            }
        }
        return testing::AssertionSuccess();
    }

    // Waits for the next message on the virtual clock and dispatches it.
    static MSG Next() {
        MSG m = {};
        GetMessageA(&m, nullptr, 0, 0);
        DispatchMessageA(&m);
        return m;
    }
};

TEST_F(CaretTest, ShownHiddenMovedAndBlinking) {
    HWND w = MakeWhiteWindow();
    EXPECT_EQ(GetCaretBlinkTime(), 500u);
    EXPECT_FALSE(ShowCaret(w)) << "no caret yet";
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 5));
    ASSERT_TRUE(SetCaretPos(3, 4));
    EXPECT_TRUE(BarIs(3, 4, kWhite)); // created hidden
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_TRUE(BarIs(3, 4, kBlack));

    // It blinks through the queue, on the clock.
    const uint64_t shown_at = ElapsedMs();
    MSG m = Next();
    EXPECT_EQ(m.message, kSysTimer);
    EXPECT_EQ(m.hwnd, w);
    EXPECT_EQ(ElapsedMs() - shown_at, 500u);
    EXPECT_TRUE(BarIs(3, 4, kWhite));
    Next();
    EXPECT_EQ(ElapsedMs() - shown_at, 1000u);
    EXPECT_TRUE(BarIs(3, 4, kBlack));
    // After a busy spell the blinks it missed are one, and the next is a whole period later.
    HeadlessAdvance(1300);
    const uint64_t busy_until = ElapsedMs();
    Next();
    EXPECT_EQ(Next().message, kSysTimer);
    EXPECT_EQ(ElapsedMs() - busy_until, 500u);
    EXPECT_TRUE(BarIs(3, 4, kBlack));

    // Hidden, it neither shows nor blinks; two hides need two shows.
    EXPECT_TRUE(HideCaret(w));
    EXPECT_TRUE(HideCaret(nullptr)); // null: whichever window owns it
    EXPECT_TRUE(BarIs(3, 4, kWhite));
    SetTimer(w, 1, 2000, nullptr);
    EXPECT_EQ(Next().message, static_cast<UINT>(WM_TIMER));
    KillTimer(w, 1);
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_TRUE(BarIs(3, 4, kWhite));
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_TRUE(BarIs(3, 4, kBlack));

    // Moved, it leaves nothing behind and shows at once at its new place.
    Next(); // off
    ASSERT_TRUE(SetCaretPos(20, 10));
    EXPECT_TRUE(BarIs(3, 4, kWhite));
    EXPECT_TRUE(BarIs(20, 10, kBlack));
    POINT at = {};
    EXPECT_TRUE(GetCaretPos(&at));
    EXPECT_EQ(at.x, 20);
    EXPECT_EQ(at.y, 10);

    // Another window can neither show nor hide it.
    HWND other = MakeSizedWindow(10, 10, WS_POPUP);
    EXPECT_FALSE(HideCaret(other));
    EXPECT_TRUE(BarIs(20, 10, kBlack));

    EXPECT_TRUE(DestroyCaret());
    EXPECT_TRUE(BarIs(20, 10, kWhite));
    EXPECT_FALSE(DestroyCaret());
    EXPECT_FALSE(SetCaretPos(1, 1));
}

// Painting over the caret's owner never leaves half a bar: BeginPaint takes the bar off and
// EndPaint puts it back. A destroyed owner takes its caret along, blink and all.
TEST_F(CaretTest, PaintingAndTheOwnersEnd) {
    HWND w = MakeWhiteWindow();
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 5));
    SetCaretPos(3, 4);
    ShowCaret(w);
    InvalidateRect(w, nullptr, TRUE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(w, &paint);
    EXPECT_TRUE(BarIs(3, 4, kWhite));
    const RECT all = {0, 0, 40, 30};
    FillRect(dc, &all, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    EndPaint(w, &paint);
    EXPECT_TRUE(BarIs(3, 4, kBlack));
    Next();
    EXPECT_TRUE(BarIs(3, 4, kWhite));

    DestroyWindow(w);
    EXPECT_FALSE(ShowCaret(nullptr)) << "gone with its owner";
    HWND timed = MakeSizedWindow(10, 10);
    SetTimer(timed, 1, 2000, nullptr);
    EXPECT_EQ(Next().message, static_cast<UINT>(WM_TIMER)) << "no blink left in the queue";
}

} // namespace
