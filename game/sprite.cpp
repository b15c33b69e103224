// Zobu 4: the Dropper's and the Pot's art.
#include "game/sprite.h"

#include "game/art.h"

Sprite::Sprite(int32_t startX, int32_t startY) : image(nullptr), x(startX), y(startY) {}

Sprite::~Sprite() {
    ReleaseArt(image);
}

int Sprite::SpriteDraw(Screen*, IDirectDrawSurface7*& backBuffer) {
    DrawArt(image, x, y, backBuffer);
    return 0;
}
