// Zobu 4: the Dropper, the character at the top of the screen that the player moves.
#pragma once

#include "game/sprite.h"

#include <stdint.h>

// Fields, in order, from Sprite: image (128 x 160), x (left edge; stays even, from 0 to
// 512), y (top edge; never changes).
class Dropper : public Sprite {
  public:
    Dropper();

    // Moves two pixels left (0) or right (1), staying on the screen; any other direction
    // does nothing. Returns 0.
    int Step(int32_t direction);

    // Loads "Bitmaps\Quib1.bmp" at 128 x 160, keyed on magenta. Returns 0 or the failure.
    HRESULT LoadArt(Screen* screen);
};

// The one Dropper. The game objects are named after their classes, so that the code reads
// Dropper.x for the Dropper's position; Dropper::Step still names the class's operation.
extern class Dropper Dropper;
