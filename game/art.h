// Zobu 4: what the game objects share about their art.
#pragma once

class Image;

// Destroys and deletes an Image the caller owns, and sets the pointer to null. Does
// nothing for a null pointer: art that never loaded releases nothing.
void ReleaseArt(Image*& image);
