// Zobu 4 platform floor: the browser host's input: keys by where they are on the keyboard,
// the pointer on the screen, game controllers as keys, and the page's close.
#include "web_private.h"

#include "../pad_keys.h"
#include "../virtual_keys.h"

#include <emscripten.h>

#include <algorithm>
#include <deque>
#include <map>

namespace {

// Input the page gave, not yet handed to the floor.
std::deque<HostInput> pending;
// Game controllers: what each one held when the page last looked, and the keys they make.
struct PadState {
    int buttons = 0; // the bits of zobu_web_pad
    int stick_x = 0;
};
std::map<int, PadState> pads;
PadKeys pad_keys;
// The page's on-screen controls for touch screens: buttons as a controller's, so that a held
// one repeats with the keyboard's timing, and several can be held at once.
PadKeys touch_keys;

} // namespace

bool WebInputTake(uint64_t now_ms, HostInput* input) {
    pad_keys.Repeat(now_ms, &pending);
    touch_keys.Repeat(now_ms, &pending);
    if (pending.empty()) {
        return false;
    }
    *input = pending.front();
    pending.pop_front();
    return true;
}

bool WebInputWaiting() {
    return !pending.empty();
}

uint64_t WebInputNextRepeat() {
    return std::min(pad_keys.NextRepeat(), touch_keys.NextRepeat());
}

// What the page calls: the user's input. Input wakes a waiting program (web_host.js does that
// once the call returns).
extern "C" {

// A key by its KeyboardEvent.code; a held key's repeats come down again. Returns whether the
// program takes the key, so that the page leaves it alone.
EMSCRIPTEN_KEEPALIVE int zobu_web_key(const char* code, int down) {
    HostInput input;
    input.virtual_key = VirtualKeyFromCode(code);
    input.down = down != 0;
    if (input.virtual_key == 0) {
        return 0;
    }
    pending.push_back(input);
    return 1;
}

// The pointer at (x, y) of the 640 x 480 screen; with `button`, the left button went `down`
// or up.
EMSCRIPTEN_KEEPALIVE void zobu_web_mouse(int x, int y, int button, int down) {
    HostInput input;
    input.kind = HostInputKind::Mouse;
    input.x = x;
    input.y = y;
    input.button = button != 0;
    input.down = down != 0;
    pending.push_back(input);
}

// A game controller as the Gamepad API's standard layout shows it: bit i of `buttons` is
// button i pressed; `stick_x` the left stick, -32768 to 32767. Called whenever the page
// looks; only changes make keys.
EMSCRIPTEN_KEEPALIVE void zobu_web_pad(int index, int buttons, int stick_x) {
    // The standard layout's buttons that are keys: the d-pad's left and right, the south
    // button (A on an Xbox pad), Back (Select).
    static const struct {
        int button;
        PadKeys::Button is;
    } kButtons[] = {{14, PadKeys::Button::DpadLeft},
                    {15, PadKeys::Button::DpadRight},
                    {0, PadKeys::Button::South},
                    {8, PadKeys::Button::Back}};
    PadState& was = pads[index];
    const uint64_t now = WebNowMs();
    for (const auto& b : kButtons) {
        const int mask = 1 << b.button;
        if ((was.buttons ^ buttons) & mask) {
            pad_keys.Press(b.is, (buttons & mask) != 0, now, &pending);
        }
    }
    if (stick_x != was.stick_x) {
        pad_keys.Stick(stick_x, now, &pending);
    }
    was.buttons = buttons;
    was.stick_x = stick_x;
}

// A game controller went away: what it held comes up.
EMSCRIPTEN_KEEPALIVE void zobu_web_pad_gone(int index) {
    pads.erase(index);
    pad_keys.ReleaseAll(WebNowMs(), &pending);
}

// An on-screen control went `down` or up: 0 Left, 1 Right, 2 Drop (Space), 3 Quit (Escape).
EMSCRIPTEN_KEEPALIVE void zobu_web_touch(int control, int down) {
    static const PadKeys::Button kControls[] = {PadKeys::Button::DpadLeft,
                                                PadKeys::Button::DpadRight, PadKeys::Button::South,
                                                PadKeys::Button::Back};
    if (control >= 0 && control < 4) {
        touch_keys.Press(kControls[control], down != 0, WebNowMs(), &pending);
    }
}

// The page is closing or the user asked to stop: the window's close button, as it were.
EMSCRIPTEN_KEEPALIVE void zobu_web_close() {
    HostInput input;
    input.kind = HostInputKind::Close;
    pending.push_back(input);
}

} // extern "C"
