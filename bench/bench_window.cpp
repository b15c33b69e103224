// What every benchmark starts with.
#include "bench_window.h"

#include "host/headless/headless.h"

namespace {
LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

HWND OpenBenchWindow(DWORD style) {
    HeadlessReset(HeadlessClock::Real);
    HostInstall(HeadlessHost());
    WNDCLASSA c = {};
    c.lpfnWndProc = BenchWindowProc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "Bench";
    RegisterClassA(&c);
    return CreateWindowExA(0, "Bench", "", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, nullptr, nullptr, c.hInstance, nullptr);
}
