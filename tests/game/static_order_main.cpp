// The three game objects are destroyed at exit as FallingItem, Pot, Dropper, each
// releasing its art. CTest matches the lines this program leaves on standard output after
// main has returned.
#include "game/dropper.h"
#include "game/falling_item.h"
#include "game/pot.h"
#include "screen/image.h"
#include "stubs/image_stub.h"

#include <stdio.h>

namespace {
Image* Named(const char* name) {
    Image* image = new Image();
    StubNameImage(image, name);
    return image;
}
} // namespace

int main() {
    Dropper.image = Named("Dropper.image");
    Pot.image = Named("Pot.image");
    FallingItem.image1 = Named("FallingItem.image1");
    FallingItem.image2 = Named("FallingItem.image2");
    printf("main returns\n");
    fflush(stdout);
    return 0;
}
