// Test helpers shared by the platform conformance tests and the game tests.
#include "support/platform_fixture.h"

#include <algorithm>

#include <stdio.h>
#include <stdlib.h>

#ifndef _WIN32
#include "ddraw/ddraw_testing.h"
#include "gdi/gdi_private.h"
#include "host/headless/headless.h"
#include "user/user_private.h"

#include <sys/stat.h>
#include <unistd.h>
#endif

std::string Describe(const LoggedMessage& m) {
    char text[128];
    snprintf(text, sizeof text, "{hwnd %p, msg 0x%04x, wParam 0x%llx, lParam 0x%llx}",
             static_cast<void*>(m.hwnd), m.message, static_cast<unsigned long long>(m.wParam),
             static_cast<unsigned long long>(m.lParam));
    return text;
}

std::vector<LoggedMessage>& MessageLog() {
    static std::vector<LoggedMessage> log;
    return log;
}

LRESULT CALLBACK LoggingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
#ifdef _WIN32
    // What Windows sends or not as the machine is set up (an input method, a palette display,
    // a shell that shows icons) is left out of the log, as Wine's own tests leave it.
    if (message == WM_GETICON || message == WM_QUERYNEWPALETTE ||
        (message >= WM_IME_SETCONTEXT && message <= WM_IME_KEYUP)) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
#endif
    MessageLog().push_back({window, message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

testing::AssertionResult SameSequence(const std::vector<ExpectedMessage>& expected,
                                      const std::vector<LoggedMessage>& got) {
    const size_t n = std::min(expected.size(), got.size());
    for (size_t i = 0; i < n; ++i) {
        const ExpectedMessage& e = expected[i];
        const LoggedMessage& g = got[i];
        const bool same =
            e.hwnd == g.hwnd && e.message == g.message &&
            (!e.exact || (e.wParam == g.wParam && e.lParam == static_cast<ULONG_PTR>(g.lParam)));
        if (!same) {
            return testing::AssertionFailure()
                   << "message " << i << " differs: expected "
                   << Describe({e.hwnd, e.message, e.wParam, static_cast<LPARAM>(e.lParam)})
                   << ", got " << Describe(g);
        }
    }
    if (expected.size() != got.size()) {
        return testing::AssertionFailure()
               << "expected " << expected.size() << " messages, got " << got.size()
               << (got.size() > n ? "; first extra: " + Describe(got[n]) : std::string());
    }
    return testing::AssertionSuccess();
}

std::vector<LoggedMessage> LoggedOnly(std::initializer_list<UINT> kinds) {
    std::vector<LoggedMessage> got;
    for (const LoggedMessage& m : MessageLog()) {
        if (std::find(kinds.begin(), kinds.end(), m.message) != kinds.end()) {
            got.push_back(m);
        }
    }
    return got;
}

#ifndef _WIN32
void ScheduleKeys(const std::vector<int>& keys) {
    for (int key : keys) {
        HeadlessScheduleKey(GetTickCount(), static_cast<BYTE>(key < 0 ? -key : key), key > 0);
    }
}

void LoseTheDisplay() {
    HeadlessScheduleDisplayLost(GetTickCount());
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
}
#endif

std::vector<LoggedMessage> DispatchWaiting(bool dispatch) {
    std::vector<LoggedMessage> got;
    MSG m = {};
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message != WM_PAINT) {
            got.push_back({m.hwnd, m.message, m.wParam, m.lParam});
        }
        if (dispatch || m.message == WM_PAINT) {
            DispatchMessageA(&m);
        }
    }
    return got;
}

COLORREF ScreenColor(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void PrintTo(const RECT& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

RECT ClientRectOf(HWND window) {
    RECT r = {-1, -1, -1, -1};
    GetClientRect(window, &r);
    return r;
}

RECT WindowRectOf(HWND window) {
    RECT r = {-1, -1, -1, -1};
    GetWindowRect(window, &r);
    return r;
}

MemoryBitmap::MemoryBitmap(int width, int height) {
    HDC screen = GetDC(nullptr);
    bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
}

MemoryBitmap::~MemoryBitmap() {
    DeleteDC(dc);
    DeleteObject(bitmap);
}

HWND PlatformTest::MakeWindow(DWORD style, HWND parent, UINT_PTR id) {
    HWND w =
        CreateWindowExA(0, "LoggingWindow", "", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, parent, reinterpret_cast<HMENU>(id), Instance(), nullptr);
    EXPECT_NE(w, nullptr);
    return w;
}

HWND PlatformTest::MakeSizedWindow(int width, int height, DWORD style, HWND parent, UINT_PTR id) {
    HWND w = CreateWindowExA(0, "LoggingWindow", "", style, 0, 0, width, height, parent,
                             reinterpret_cast<HMENU>(id), Instance(), nullptr);
    EXPECT_NE(w, nullptr);
    return w;
}

HINSTANCE PlatformTest::Instance() {
    return GetModuleHandleA(nullptr);
}

#ifdef _WIN32
namespace {
BOOL CALLBACK DestroyOne(HWND window, LPARAM) {
    DestroyWindow(window);
    return TRUE;
}
} // namespace

void PlatformTest::SetUp() {
    MessageLog().clear();
    WNDCLASSA c = {};
    c.lpfnWndProc = LoggingWindowProc;
    c.hInstance = Instance();
    c.lpszClassName = "LoggingWindow";
    ASSERT_TRUE(RegisterClassA(&c) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
}

void PlatformTest::TearDown() {
    EnumThreadWindows(GetCurrentThreadId(), DestroyOne, 0);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
}
#else
uint64_t ElapsedMs() {
    return HeadlessHost()->now_ms() - kStartMs;
}

void PlatformTest::SetUp() {
    HeadlessReset(HeadlessClock::Virtual, kStartMs);
    HostInstall(HeadlessHost());
    UserReset();
    GdiReset();
    DDrawReset();
    MessageLog().clear();
    WNDCLASSA c = {};
    c.lpfnWndProc = LoggingWindowProc;
    c.hInstance = Instance();
    c.lpszClassName = "LoggingWindow";
    ASSERT_NE(RegisterClassA(&c), 0);
}

void PlatformTest::TearDown() {
    // Every test gives back the GDI objects and device contexts it took, failure paths
    // included; the fixture started with none.
    const GdiLiveObjects live = GdiLive();
    EXPECT_EQ(live.bitmaps, 0) << "bitmaps leaked";
    EXPECT_EQ(live.regions, 0) << "regions leaked";
    EXPECT_EQ(live.fonts, 0) << "fonts leaked";
    EXPECT_EQ(live.brushes, 0) << "brushes leaked";
    EXPECT_EQ(live.dcs, 0) << "device contexts leaked";
    UserReset();
}

TempWorkingDirectory::TempWorkingDirectory() {
    char pattern[] = "/tmp/zobu4-test-XXXXXX";
    char cwd[4096];
    if (!mkdtemp(pattern) || !getcwd(cwd, sizeof cwd) || chdir(pattern) != 0) {
        ADD_FAILURE() << "cannot make a working directory under /tmp";
        return;
    }
    directory_ = pattern;
    previous_ = cwd;
    mkdir("Bitmaps", 0755);
}

TempWorkingDirectory::~TempWorkingDirectory() {
    if (directory_.empty()) {
        return;
    }
    if (chdir(previous_.c_str()) != 0) {
        ADD_FAILURE() << "cannot return to " << previous_;
    }
    const std::string remove = "rm -rf '" + directory_ + "'";
    if (system(remove.c_str()) != 0) {
        ADD_FAILURE() << "cannot remove " << directory_;
    }
}
#endif
