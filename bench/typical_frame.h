// The game as start-up leaves it, with an item in flight and the panel painted: a typical
// frame's work, and the raw memory work such a frame implies, for the frame benchmarks (the
// desktop's, and the one that runs in a browser page).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

// Starts the game once, on the headless host, with its art in `folder`/Bitmaps; false if it
// could not start.
bool StartTypicalFrame(const char* folder);

// What a frame must do at the least: clear the back buffer, copy the background onto it, copy
// the sprites' pixels (the Dropper, the Pot and one item, in 16 bits), and copy the back
// buffer to the screen.
class FrameMemoryWork {
  public:
    static constexpr size_t kScreenBytes = 640 * 480 * 2;
    static constexpr size_t kSpriteBytes = (128 * 160 + 64 * 64 + 32 * 32) * 2;

    FrameMemoryWork();
    void Run();
    // A byte of the result, so that the compiler cannot drop the work.
    uint8_t Sample() const { return screen_[kScreenBytes / 2]; }

  private:
    std::vector<uint8_t> background_, back_, screen_, sprites_;
};
