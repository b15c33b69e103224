// Zobu 4: what the Dropper and the Pot share: a piece of art they own, drawn at their place.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <stdint.h>

class Image;
class Screen;

class Sprite {
  public:
    // Releases the art, if it was ever loaded.
    virtual ~Sprite();

    // Draws the whole of `image` onto the back buffer at (x, y), keyed on magenta. An object
    // whose art never loaded is not drawn. Uses only `backBuffer`. Returns 0.
    int SpriteDraw(Screen* screen, IDirectDrawSurface7*& backBuffer);

    Image* image; // owned; null until the art is loaded
    int32_t x;    // left edge
    int32_t y;    // top edge

  protected:
    Sprite(int32_t startX, int32_t startY);
    Sprite(const Sprite&) = default;
    Sprite& operator=(const Sprite&) = default;
};
