// Zobu 4 platform floor: glibc's random().
#include "desktop_random.h"

void DesktopRandom::Seed(uint32_t seed) {
    if (seed == 0) {
        seed = 1;
    }
    state_[0] = seed;
    // As glibc does it: a seed of 2^31 or more is a negative word, the arithmetic is a long's.
    int32_t word = static_cast<int32_t>(seed);
    for (int i = 1; i < kWords; ++i) {
        const int64_t hi = word / 127773, lo = word % 127773;
        word = static_cast<int32_t>(16807 * lo - 2836 * hi);
        if (word < 0) {
            word += 2147483647;
        }
        state_[i] = static_cast<uint32_t>(word);
    }
    front_ = kSeparation;
    rear_ = 0;
    for (int i = 0; i < kWords * 10; ++i) {
        Next();
    }
}

int32_t DesktopRandom::Next() {
    state_[front_] += state_[rear_];
    const int32_t result = static_cast<int32_t>(state_[front_] >> 1);
    front_ = (front_ + 1) % kWords;
    rear_ = (rear_ + 1) % kWords;
    return result;
}
