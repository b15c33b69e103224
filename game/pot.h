// Zobu 4: the Pot, which wanders along the bottom of the screen on its own timers.
//
// Three timers of the main window drive it: the step timer moves it along its direction,
// the steering timer draws a direction once a second and retunes the step timer to the
// speed, and the acceleration timer climbs the ladder of speeds 5, 8, 10 and 12.
#pragma once

#include "game/sprite.h"

#include <windows.h>

#include <stdint.h>

// Fields, in order: from Sprite image (64 x 64), x (left edge, within 0 to 576) and y (top
// edge, 480 - 64; never changes); then direction and speed.
class Pot : public Sprite {
  public:
    Pot();

    // Loads "Bitmaps\pot1.bmp" at 64 x 64, keyed on magenta. Returns 0 or the failure.
    HRESULT LoadArt(Screen* screen);

    // One step along the direction, as long as the speed's rung allows; returns 0.
    int Move();

    // Takes the new direction (0 left, 1 right). A turn drops the speed to the start speed
    // so that the Pot climbs the ladder again. Returns 1 when the direction changed.
    int Steer(int32_t newDirection);

    // One rung up the ladder; returns 1 when this call reached the top rung.
    int Accelerate();

    int32_t direction; // 0 left, 1 right
    int32_t speed;     // rung of the ladder: 5, 8, 10 or 12
};

extern class Pot Pot;

// Timer procedures; they ignore their arguments.
void CALLBACK OnPotStepTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
void CALLBACK OnSteerTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
void CALLBACK OnAccelerateTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
