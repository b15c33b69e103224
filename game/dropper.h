// Zobu 4: the Dropper, the character at the top of the screen that the player moves.
#pragma once

#include <stdint.h>

class Image;

class Dropper {
  public:
    Dropper();
    virtual ~Dropper();

    // Moves two pixels left (0) or right (1), staying on the screen; any other direction
    // does nothing. Returns 0.
    int Step(int32_t direction);

    Image* image; // 128 x 160
    int32_t x;    // left edge; stays even, from 0 to 512
    int32_t y;    // top edge; never changes
};

// The one Dropper. The game objects are named after their classes, so that the code reads
// Dropper.x for the Dropper's position; Dropper::Step still names the class's operation.
extern class Dropper Dropper;
