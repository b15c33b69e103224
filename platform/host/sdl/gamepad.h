// Zobu 4 platform floor: SDL's game controllers, as the keys of pad_keys.h.
#pragma once

#include "../pad_keys.h"

#include <SDL.h>

#include <stdint.h>

#include <deque>
#include <map>

class Gamepads {
  public:
    // Takes a controller's event (plugged in, pulled out, a button, an axis) into key events.
    // Returns false for an event that is not a controller's.
    bool Take(const SDL_Event& e, uint64_t now_ms, std::deque<HostInput>* out);

    // The repeats of held directions that fell due by now.
    void Repeat(uint64_t now_ms, std::deque<HostInput>* out) { keys_.Repeat(now_ms, out); }

    // When the next repeat falls due; UINT64_MAX while no direction is held.
    uint64_t NextRepeat() const { return keys_.NextRepeat(); }

  private:
    PadKeys keys_;
    std::map<SDL_JoystickID, SDL_GameController*> open_;
};
