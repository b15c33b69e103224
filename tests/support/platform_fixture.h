// Test helpers shared by the platform conformance tests and the game tests.
//
// Every test starts on a fresh platform: the headless host with its virtual clock at
// kStartMs, no windows, an empty queue, no timers, all keys up. Built for Windows, to run the
// conformance tests that use the Windows API alone under Wine, the helpers that drive our
// host are left out, and a test starts with no windows of its thread and an empty queue.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <stdint.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

constexpr uint64_t kStartMs = 1000;

// One message as a window procedure received it (or as it was retrieved).
struct LoggedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::string Describe(const LoggedMessage& m);

// Messages received by LoggingWindowProc, in order.
std::vector<LoggedMessage>& MessageLog();

// Logs every message, then answers as DefWindowProcA does.
LRESULT CALLBACK LoggingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Checks a sequence against the expected one; a mismatch names the first differing index
// and both messages. wParam and lParam are compared only where `exact` is set.
struct ExpectedMessage {
    HWND hwnd;
    UINT message;
    bool exact = false;
    WPARAM wParam = 0;
    // The bits of the expected lParam: a key message's 0xC14D0001 does not fit a 32-bit
    // LPARAM, which is signed.
    ULONG_PTR lParam = 0;
};
// Use as EXPECT_TRUE(SameSequence(...)), so that a failure names the caller's line.
testing::AssertionResult SameSequence(const std::vector<ExpectedMessage>& expected,
                                      const std::vector<LoggedMessage>& got);

// The logged messages of the given kinds, in order.
std::vector<LoggedMessage> LoggedOnly(std::initializer_list<UINT> kinds);

#ifndef _WIN32
// Schedules key presses, and releases where the key is negated, at the present moment.
void ScheduleKeys(const std::vector<int>& keys);

// Another program takes the display now, as the host reports it: the message queue hears of
// it the next time it is looked at, which this does (PeekMessageA, nothing removed).
void LoseTheDisplay();
#endif

// Retrieves every message waiting, dispatching each unless `dispatch` is false (WM_PAINT
// always, so that it stops coming); returns all but the paints.
std::vector<LoggedMessage> DispatchWaiting(bool dispatch = true);

// A pixel of the screen, as GDI reads it.
COLORREF ScreenColor(int x, int y);

// Rectangles compare by value and print as (left, top, right, bottom).
bool operator==(const RECT& a, const RECT& b);
void PrintTo(const RECT& r, std::ostream* os);
RECT ClientRectOf(HWND window);
RECT WindowRectOf(HWND window);

// Puts objects back to the values they were constructed with: the game's globals, between
// tests.
template <typename... Objects> void ResetToStart(Objects&... objects) {
    ((objects = Objects()), ...);
}

// What `run` writes to standard error.
template <typename Run> std::string StderrOf(Run run) {
    testing::internal::CaptureStderr();
    run();
    return testing::internal::GetCapturedStderr();
}

#ifndef _WIN32
// Milliseconds since the test started, on the virtual clock.
uint64_t ElapsedMs();

// A fresh directory under /tmp that is the current directory while the object lives, with
// an empty "Bitmaps" folder in it; removed, with all it holds, at the end.
class TempWorkingDirectory {
  public:
    TempWorkingDirectory();
    ~TempWorkingDirectory();

  private:
    std::string directory_;
    std::string previous_;
};
#endif

// A bitmap in the display's format selected into a memory DC, both given back when the
// object goes.
struct MemoryBitmap {
    MemoryBitmap(int width, int height);
    ~MemoryBitmap();
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;

    HBITMAP bitmap = nullptr;
    HDC dc = nullptr;
};

class PlatformTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A window of the logging class. Top-level pop-ups by default; WS_CHILD makes `parent`
    // its parent and `id` its control id, otherwise `parent` is the owner.
    HWND MakeWindow(DWORD style = WS_POPUP, HWND parent = nullptr, UINT_PTR id = 0);
    // The same, of the given size at (0, 0), with a client area to paint.
    HWND MakeSizedWindow(int width, int height, DWORD style = WS_POPUP, HWND parent = nullptr,
                         UINT_PTR id = 0);

    // The program's instance, as WinMain receives it.
    static HINSTANCE Instance();
};
