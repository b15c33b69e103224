// Zobu 4 platform floor: the browser host's C++ half.
#include "web_host.h"

#include "../changed_rects.h"
#include "../virtual_keys.h"
#include "../pad_keys.h"
#include "../rgb565.h"

#include <emscripten.h>

#include <string.h>

#include <deque>
#include <map>

// The JavaScript half (web_host.js).
extern "C" {
void zobu_js_sleep(double ms); // Asyncify: returns after `ms` (forever if negative) or on input
void zobu_js_request_paint();
void zobu_js_put(const uint32_t* rgba, int x, int y, int width, int height);
int zobu_js_message_box(const char* text, const char* title, unsigned style); // Asyncify
void zobu_js_show_cursor(int visible);
void zobu_js_keep_snapshot(const char* name, const uint16_t* pixels);
void zobu_js_ended(int status);
}

namespace {

constexpr int kWidth = kScreenWidth, kHeight = kScreenHeight;

uint64_t start_tick = 0;
double start_page_ms = 0;
std::deque<HostInput> pending;

// Game controllers: what each one held when the page last looked, and the keys they make.
struct PadState {
    int buttons = 0; // the bits of zobu_web_pad
    int stick_x = 0;
};
std::map<int, PadState> pads;
PadKeys pad_keys;

// The screen's memory, as the last present gave it, and the rows changed since the canvas was
// last painted.
const uint16_t* screen = nullptr;
int screen_pitch_bytes = 0;
uint8_t rows_waiting[kHeight];
bool paint_requested = false;
// What the canvas shows, and the canvas's pixels as the page's ImageData reads them.
std::vector<uint16_t> shown(kWidth* kHeight);
std::vector<uint32_t> rgba(kWidth* kHeight, 0xFF000000u);

uint64_t NowMs() {
    return start_tick + static_cast<uint64_t>(emscripten_get_now() - start_page_ms);
}

void WaitUntil(uint64_t deadline_ms) {
    if (!pending.empty()) {
        return;
    }
    const uint64_t wake = std::min(deadline_ms, pad_keys.NextRepeat());
    const uint64_t now = NowMs();
    if (wake <= now) {
        return;
    }
    zobu_js_sleep(wake == kHostForever ? -1.0 : static_cast<double>(wake - now));
}

bool PollInput(HostInput* input) {
    pad_keys.Repeat(NowMs(), &pending);
    if (pending.empty()) {
        return false;
    }
    *input = pending.front();
    pending.pop_front();
    return true;
}

void Present(const uint16_t* pixels, int pitch_bytes, const uint8_t* rows_changed) {
    WebHostPresent(pixels, pitch_bytes, rows_changed);
}

int MessageBox(const char* text, const char* title, unsigned style) {
    return zobu_js_message_box(text ? text : "", title ? title : "", style);
}

void ShowCursor(bool visible) {
    zobu_js_show_cursor(visible ? 1 : 0);
}

const HostOps kWebOps = {NowMs, WaitUntil, PollInput, Present, MessageBox, ShowCursor};

// The canvas's bytes are R, G, B, A: the widened colour with its red and blue swapped, opaque.
uint32_t CanvasPixel(uint16_t p) {
    const uint32_t rgb = RgbFrom565(p);
    return 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
}

} // namespace

const HostOps* WebHostOpen(uint64_t tick) {
    start_tick = tick;
    start_page_ms = emscripten_get_now();
    return &kWebOps;
}

void WebHostPresent(const uint16_t* pixels, int pitch_bytes, const uint8_t* rows_changed) {
    screen = pixels;
    screen_pitch_bytes = pitch_bytes;
    for (int y = 0; y < kHeight; ++y) {
        rows_waiting[y] |= rows_changed[y];
    }
    if (!paint_requested) {
        paint_requested = true;
        zobu_js_request_paint();
    }
}

void WebHostKeepSnapshot(const std::string& name, const std::vector<uint16_t>& frame) {
    zobu_js_keep_snapshot(name.c_str(), frame.data());
}

void WebHostEnded(int status) {
    zobu_js_ended(status);
}

// What the page calls: an animation frame, and the user's input. Input wakes a waiting
// program (web_host.js does that once the call returns).
extern "C" {

EMSCRIPTEN_KEEPALIVE void zobu_web_paint() {
    paint_requested = false;
    if (screen == nullptr) {
        return;
    }
    const std::vector<ChangedRect> rects =
        TakeChangedRects(screen, screen_pitch_bytes, shown.data(), kWidth, kHeight, rows_waiting);
    memset(rows_waiting, 0, sizeof rows_waiting);
    for (const ChangedRect& r : rects) {
        for (int y = r.y; y < r.y + r.height; ++y) {
            const uint16_t* from = &shown[static_cast<size_t>(y) * kWidth];
            uint32_t* to = &rgba[static_cast<size_t>(y) * kWidth];
            for (int x = r.x; x < r.x + r.width; ++x) {
                to[x] = CanvasPixel(from[x]);
            }
        }
        zobu_js_put(rgba.data(), r.x, r.y, r.width, r.height);
    }
}

// The screen as the program last presented it, rows back to back, for the page's tests; null
// before the first present.
EMSCRIPTEN_KEEPALIVE const uint16_t* zobu_web_screen() {
    static std::vector<uint16_t> copy(kWidth * kHeight);
    if (screen == nullptr) {
        return nullptr;
    }
    CopyScreen(screen, screen_pitch_bytes, copy.data());
    return copy.data();
}

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

// A game controller as the Gamepad API's standard layout shows it: `buttons` holds 1 for the
// d-pad's left, 2 for its right, 4 for the south button, 8 for Back; `stick_x` the left
// stick, -32768 to 32767. Called whenever the page looks; only changes make keys.
EMSCRIPTEN_KEEPALIVE void zobu_web_pad(int index, int buttons, int stick_x) {
    static const PadKeys::Button kBits[] = {PadKeys::Button::DpadLeft, PadKeys::Button::DpadRight,
                                            PadKeys::Button::South, PadKeys::Button::Back};
    PadState& was = pads[index];
    const uint64_t now = NowMs();
    for (int bit = 0; bit < 4; ++bit) {
        const int mask = 1 << bit;
        if ((was.buttons ^ buttons) & mask) {
            pad_keys.Press(kBits[bit], (buttons & mask) != 0, now, &pending);
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
    pad_keys.ReleaseAll(NowMs(), &pending);
}

// The page is closing or the user asked to stop: the window's close button, as it were.
EMSCRIPTEN_KEEPALIVE void zobu_web_close() {
    HostInput input;
    input.kind = HostInputKind::Close;
    pending.push_back(input);
}

} // extern "C"
