// Zobu 4 platform floor: the desktop build's rand(), for the browser build.
//
// The game seeds rand() from the tick count, so that a recording replays the same run. The
// Linux build's rand() is glibc's; emscripten's C library (musl) has another. The browser
// build takes glibc's generator instead (web_random.cpp), so that a recording made on the
// desktop, or a golden frame, replays the same in the page.
#pragma once

#include <stdint.h>

// glibc's random() in its default state (TYPE_3: an additive feedback generator over 31
// words, seeded by a Lehmer generator, its first 310 results thrown away).
class DesktopRandom {
  public:
    explicit DesktopRandom(uint32_t seed = 1) { Seed(seed); }

    void Seed(uint32_t seed);

    // 0 to 2147483647.
    int32_t Next();

  private:
    static constexpr int kWords = 31, kSeparation = 3;
    uint32_t state_[kWords] = {};
    int front_ = kSeparation, rear_ = 0;
};
