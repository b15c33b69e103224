// Zobu 4: the Dropper.
#include "game/dropper.h"

#include "game/art.h"

namespace {
constexpr int32_t kStepPixels = 2;
constexpr int32_t kLeftLimit = 1;    // moves left only from beyond this
constexpr int32_t kRightLimit = 511; // moves right only from below this
} // namespace

Dropper::Dropper() : Sprite(256, 85) {}

HRESULT Dropper::LoadArt(Screen* screen) {
    return LoadArtImage(screen, &image, "Bitmaps\\Quib1.bmp", 128, 160);
}

int Dropper::Step(int32_t direction) {
    if (direction == 0 && x > kLeftLimit) {
        x -= kStepPixels;
    } else if (direction == 1 && x < kRightLimit) {
        x += kStepPixels;
    }
    return 0;
}
