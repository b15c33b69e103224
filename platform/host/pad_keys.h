// Zobu 4 platform floor: game controllers as keys, for any host.
//
// The d-pad or the left stick's left and right are the arrow keys, the south button (A on an
// Xbox pad) is Space, Back or Select is Escape: the game sees the same key events as from a
// keyboard. No host repeats a controller's buttons, so a held direction repeats here with the
// keyboard's timing: after 500 ms, then every 33 ms. A host says what changed on its
// controllers; one pulled out lets go of what it held.
#pragma once

#include "host.h"
#include "virtual_keys.h"

#include <stdint.h>

#include <deque>

class PadKeys {
  public:
    enum class Button { DpadLeft, DpadRight, South, Back };

    // A button went down or up.
    void Press(Button button, bool down, uint64_t now_ms, std::deque<HostInput>* out);

    // The left stick's horizontal position, from -32768 (left) to 32767 (right).
    void Stick(int x, uint64_t now_ms, std::deque<HostInput>* out);

    // A controller went away: every direction it held comes up.
    void ReleaseAll(uint64_t now_ms, std::deque<HostInput>* out);

    // The repeats of held directions that fell due by now.
    void Repeat(uint64_t now_ms, std::deque<HostInput>* out);

    // When the next repeat falls due; UINT64_MAX while no direction is held.
    uint64_t NextRepeat() const;

  private:
    // One direction (left or right), held by the d-pad, the stick, or both.
    struct Direction {
        uint8_t key = 0;
        bool dpad = false;
        bool stick = false;
        uint64_t next_repeat_ms = 0;
        bool Held() const { return dpad || stick; }
    };

    // Sets what holds a direction, and reports the key going down or up when that changes.
    void Hold(Direction& d, bool* source, bool held, uint64_t now_ms, std::deque<HostInput>* out);

    Direction left_{vk::kLeft};
    Direction right_{vk::kRight};
};
