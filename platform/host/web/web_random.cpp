// Zobu 4 platform floor: the browser build's srand() and rand() are the desktop's
// (desktop_random.h); linked before the C library, they stand in for its own.
#include "desktop_random.h"

#include <stdlib.h>

namespace {
DesktopRandom generator;
} // namespace

extern "C" {

void srand(unsigned seed) {
    generator.Seed(seed);
}

int rand(void) {
    return generator.Next();
}

} // extern "C"
