// Zobu 4 platform floor: the SDL host's input: keys by their place on the keyboard, the
// pointer on the screen, the window's close button and the signals as the Close request,
// game controllers as keys.
#include "sdl_private.h"

#include "../virtual_keys.h"
#include "event_wait.h"
#include "gamepad.h"

#include <deque>

namespace {

// Input taken from SDL, not yet handed to the floor.
std::deque<HostInput> pending;
// Controllers, whose buttons and stick are keys too.
Gamepads gamepads;

// Turns what SDL reports into the floor's input.
void Take(const SDL_Event& e) {
    HostInput input;
    if (gamepads.Take(e, RealNowMs(), &pending)) {
        return;
    }
    switch (e.type) {
    case SDL_QUIT: // the window's close button
        input.kind = HostInputKind::Close;
        pending.push_back(input);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = e.type == SDL_KEYDOWN;
        // Alt+Enter is the host's own: full screen or window, whatever the game is doing.
        if (down && e.key.keysym.scancode == SDL_SCANCODE_RETURN && (e.key.keysym.mod & KMOD_ALT)) {
            if (!e.key.repeat) {
                VideoToggleFullScreen();
            }
            break;
        }
        input.virtual_key = VirtualKeyFromUsage(e.key.keysym.scancode); // by its place
        if (input.virtual_key == 0) {
            break;
        }
        input.down = down;
        if (down) {
            StatsKeyDown(e.key.timestamp);
        }
        pending.push_back(input);
        break;
    }
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const bool button = e.type != SDL_MOUSEMOTION;
        if (button && e.button.button != SDL_BUTTON_LEFT) {
            break;
        }
        input.kind = HostInputKind::Mouse;
        input.button = button;
        input.down = e.type == SDL_MOUSEBUTTONDOWN;
        input.x = button ? e.button.x : e.motion.x;
        input.y = button ? e.button.y : e.motion.y;
        VideoScreenPoint(&input.x, &input.y);
        pending.push_back(input);
        break;
    }
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
            e.window.event == SDL_WINDOWEVENT_RESTORED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            VideoShowAllAgain(); // show the picture again at once
        }
        break;
    default:
        break;
    }
}

} // namespace

// Takes what SDL, the signals and the controllers have for the program.
void InputDrain(const SDL_Event* event) {
    if (event) {
        Take(*event);
    }
    // One pump a drain: each reads the X connection and looks for controllers plugged in,
    // and SDL_PollEvent would pump again for every event and once more at the end.
    SDL_PumpEvents();
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        Take(e);
    }
    if (EventWaitTakeSignal()) { // SIGINT or SIGTERM
        HostInput close;
        close.kind = HostInputKind::Close;
        pending.push_back(close);
    }
    gamepads.Repeat(RealNowMs(), &pending);
}

bool InputWaiting() {
    return !pending.empty();
}

bool InputTakeOldest(HostInput* input) {
    if (pending.empty()) {
        return false;
    }
    *input = pending.front();
    pending.pop_front();
    if (input->kind == HostInputKind::Key && input->down) {
        StatsKeyTaken();
    }
    return true;
}

uint64_t InputNextRepeat() {
    return gamepads.NextRepeat();
}

void InputClear() {
    pending.clear();
}
