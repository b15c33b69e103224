// One frame of the game against the raw memory work it implies, side by side in one run.
// Run bench/ratios.sh for the ratio; the raw times alone mean little.
#include "app/shell.h"
#include "app/state.h"
#include "game/falling_item.h"

#include "host/headless/headless.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"

#include <benchmark/benchmark.h>

#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <vector>

namespace {

constexpr size_t kScreenBytes = 640 * 480 * 2;
// The sprites' pixels: the Dropper, the Pot and one item, in 16 bits.
constexpr size_t kSpriteBytes = (128 * 160 + 64 * 64 + 32 * 32) * 2;

// The game as start-up leaves it, with an item in flight and the panel painted: a typical
// frame's work.
bool StartTheGame() {
    static bool started = [] {
        if (chdir(ZOBU_SOURCE_DIR) != 0) {
            return false;
        }
        HeadlessReset(HeadlessClock::Virtual);
        HostInstall(HeadlessHost());
        std::string error;
        KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize, &error);
        WNDCLASSA c = {};
        c.lpfnWndProc = MainWndProc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "ZOBU4";
        RegisterClassA(&c);
        mainWindow =
            CreateWindowExA(0, "ZOBU4", "Zobu 4", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, c.hInstance, nullptr);
        ShowWindow(mainWindow, SW_SHOWDEFAULT);
        if (FAILED(StartGame(mainWindow))) {
            return false;
        }
        MSG m = {};
        while (PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            DispatchMessageA(&m);
        }
        FallingItem.state = 1;
        FallingItem.x = 320;
        FallingItem.y = 300;
        return true;
    }();
    return started;
}

void BM_RenderFrame(benchmark::State& state) {
    if (!StartTheGame()) {
        state.SkipWithError("cannot start the game");
        return;
    }
    for (auto _ : state) {
        RenderFrame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderFrame);

// What a frame must do at the least: clear the back buffer, copy the background onto it,
// copy the sprites' pixels, and copy the back buffer to the screen.
void BM_FrameMemoryWork(benchmark::State& state) {
    std::vector<uint8_t> background(kScreenBytes, 1), back(kScreenBytes), screen(kScreenBytes);
    std::vector<uint8_t> sprites(kSpriteBytes, 2);
    for (auto _ : state) {
        memset(back.data(), 0, kScreenBytes);
        memcpy(back.data(), background.data(), kScreenBytes);
        memcpy(back.data() + 4096, sprites.data(), kSpriteBytes);
        memcpy(screen.data(), back.data(), kScreenBytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameMemoryWork);

} // namespace

BENCHMARK_MAIN();
