// Zobu 4: what the game objects share about their art: loading it keyed on magenta,
// drawing it, and releasing it.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <stdint.h>

class Image;
class Screen;

// Loads one piece of art into *field at width x height and keys it on magenta. Returns the
// loading's failure code at once, else the keying's if it failed, else 0. An Image whose
// painting or keying failed stays in *field, as the screen layer leaves it.
HRESULT LoadArtImage(Screen* screen, Image** field, LPCSTR file, int32_t width, int32_t height);

// Blits the whole of the art onto the back buffer at (x, y), leaving its magenta out. Art
// that is absent, or an Image without a surface, is not drawn. The blit's result is not
// looked at: a frame goes on without one sprite.
void DrawArt(Image* image, int32_t x, int32_t y, IDirectDrawSurface7* backBuffer);

// Destroys and deletes an Image the caller owns, and sets the pointer to null. Does
// nothing for a null pointer: art that never loaded releases nothing.
void ReleaseArt(Image*& image);
