// Zobu 4: releasing the game objects' art.
#include "game/art.h"

#include "screen/image.h"

void ReleaseArt(Image*& image) {
    if (image != nullptr) {
        image->Destroy();
        delete image;
        image = nullptr;
    }
}
