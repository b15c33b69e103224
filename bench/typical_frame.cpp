// The typical frame of the frame benchmarks.
#include "typical_frame.h"

#include "app/shell.h"
#include "app/state.h"
#include "game/falling_item.h"

#include "host/headless/headless.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"

#include <string.h>
#include <unistd.h>

bool StartTypicalFrame(const char* folder) {
    static bool started = [folder] {
        if (chdir(folder) != 0) {
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

FrameMemoryWork::FrameMemoryWork()
    : background_(kScreenBytes, 1), back_(kScreenBytes), screen_(kScreenBytes),
      sprites_(kSpriteBytes, 2) {}

void FrameMemoryWork::Run() {
    memset(back_.data(), 0, kScreenBytes);
    memcpy(back_.data(), background_.data(), kScreenBytes);
    memcpy(back_.data() + 4096, sprites_.data(), kSpriteBytes);
    memcpy(screen_.data(), back_.data(), kScreenBytes);
}
