// Zobu 4: start-up and shut-down.
#include "app/shell.h"

#include "app/state.h"
#include "game/dropper.h"
#include "game/falling_item.h"
#include "game/pot.h"
#include "game/timers.h"
#include "panel/score_panel.h"
#include "res/resource.h"
#include "screen/image.h"
#include "screen/screen.h"

#include <stdlib.h>
#include <string.h>

#include <new>

namespace {
const char kTitle[] = "Zobu 4";
const char kNoDisplayMode[] = "This display card does not support this display mode. ";
const char kNoGdi[] = "This display card can not render GDI.";
} // namespace

HRESULT StartGame(HWND window) {
    // GWLP_HINSTANCE is GWL_HINSTANCE on 32-bit Windows, and right on 64-bit too.
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    gameScreen = new (std::nothrow) Screen();
    if (gameScreen == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = gameScreen->OpenFullScreen(window, 640, 480, 16);
    if (FAILED(hr)) {
        MessageBoxA(window, kNoDisplayMode, kTitle, MB_ICONHAND);
        return hr;
    }
    DDCAPS caps;
    memset(&caps, 0, sizeof caps);
    caps.dwSize = sizeof caps;
    gameScreen->directDraw->GetCaps(&caps, nullptr);
    if (!(caps.dwCaps2 & DDCAPS2_CANRENDERWINDOWED)) {
        MessageBoxA(window, kNoGdi, kTitle, MB_ICONHAND);
        return E_FAIL;
    }
    hr = gameScreen->InstallClipper();
    if (FAILED(hr)) {
        return hr;
    }
    hr = gameScreen->LoadBitmapImage(&background, "Bitmaps\\back1.bmp", 640, 480);
    if (FAILED(hr)) {
        return hr;
    }
    srand(GetTickCount());
    Dropper.LoadArt(gameScreen);
    Pot.LoadArt(gameScreen);
    FallingItem.LoadArt(gameScreen);
    SetTimer(window, TIMER_POT_STEP, 83, OnPotStepTimer);
    SetTimer(window, TIMER_STEER, 1000, OnSteerTimer);
    SetTimer(window, TIMER_ACCELERATE, 333, OnAccelerateTimer);
    scorePanel =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_SCORE), window, ScorePanelProc, 0);
    return S_OK;
}

void StopGame() {
    KillTimer(mainWindow, TIMER_POT_STEP);
    KillTimer(mainWindow, TIMER_STEER);
    KillTimer(mainWindow, TIMER_ACCELERATE);
    KillTimer(mainWindow, TIMER_FALL);
    if (background != nullptr) {
        background->Destroy();
        delete background;
        background = nullptr;
    }
}
