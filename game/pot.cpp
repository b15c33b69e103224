// Zobu 4: the Pot's motion.
#include "game/pot.h"

#include "app/state.h"
#include "game/art.h"
#include "game/timers.h"

#include <stdlib.h>

namespace {

constexpr int32_t kStartSpeed = 5;
constexpr int32_t kTopSpeed = 12;
constexpr UINT kAccelerateMs = 333;

// One rung of the speed ladder. The bounds keep x within 0 to 576 without shortening a
// step: the Pot stops short of an edge and waits there for a turn.
struct Rung {
    int32_t speed;
    int32_t pixels;
    int32_t rightBound; // moves right only while x is below this
    int32_t leftBound;  // moves left only while x is above this
};

constexpr Rung kLadder[] = {
    {5, 1, 576, 0},
    {8, 2, 575, 1},
    {10, 3, 574, 2},
    {12, 4, 573, 3},
};

const Rung* RungFor(int32_t speed) {
    for (const Rung& rung : kLadder) {
        if (rung.speed == speed) {
            return &rung;
        }
    }
    return nullptr;
}

} // namespace

Pot::Pot() : Sprite(288, 416), direction(0), speed(kStartSpeed) {}

HRESULT Pot::LoadArt(Screen* screen) {
    return LoadArtImage(screen, &image, "Bitmaps\\pot1.bmp", 64, 64);
}

int Pot::Move() {
    const Rung* rung = RungFor(speed);
    if (rung == nullptr) {
        return 0;
    }
    if (direction == 1 && x < rung->rightBound) {
        x += rung->pixels;
    } else if (direction == 0 && x > rung->leftBound) {
        x -= rung->pixels;
    }
    return 0;
}

int Pot::Steer(int32_t newDirection) {
    int changed = 0;
    if (newDirection != direction) {
        changed = 1;
        speed = kStartSpeed;
    }
    direction = newDirection;
    return changed;
}

int Pot::Accelerate() {
    switch (speed) {
    case 5:
        speed = 8;
        return 0;
    case 8:
        speed = 10;
        return 0;
    case 10:
        speed = kTopSpeed;
        return 1;
    default:
        return 0;
    }
}

void CALLBACK OnPotStepTimer(HWND, UINT, UINT_PTR, DWORD) {
    Pot.Move();
}

void CALLBACK OnSteerTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (Pot.Steer(rand() % 2) == 1) {
        SetTimer(mainWindow, TIMER_ACCELERATE, kAccelerateMs, OnAccelerateTimer);
    }
    // Every steering tick retunes the step period to the speed, turn or not; it then holds
    // until the next steering tick, even while the acceleration timer lifts the speed.
    SetTimer(mainWindow, TIMER_POT_STEP, static_cast<UINT>(1000 / Pot.speed), OnPotStepTimer);
}

void CALLBACK OnAccelerateTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (Pot.Accelerate() == 1) {
        KillTimer(mainWindow, TIMER_ACCELERATE);
    }
}
