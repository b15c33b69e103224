// A stand-in for the screen layer's Image, linked into the game tests in its place: the game
// world constructs Images and destroys them, and does nothing else with one.
#include "screen/image.h"

Image::Image() : surface(nullptr), colorKeyed(FALSE) {}

void Image::Destroy() {}
