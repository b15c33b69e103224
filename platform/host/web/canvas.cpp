// Zobu 4 platform floor: the browser host's canvas: when the program waits, what its presents
// changed of the screen is converted from 5:6:5 and put on it, a few rectangles.
//
// Not at an animation frame: a page that asks for one a dozen times a second keeps Chromium
// drawing frames at the display's rate in between (most of an idle game's cost in a
// browser). The browser shows a canvas as it stands at its next frame anyway, and the
// presents of one wake are put as one.
#include "web_private.h"

#include "../changed_rects.h"
#include "../rgb565.h"

#include <emscripten.h>

#include <string.h>

#include <vector>

namespace {

constexpr int kWidth = kScreenWidth, kHeight = kScreenHeight;

// The screen's memory, as the last present gave it, and the rows changed since the canvas was
// last painted.
const uint16_t* screen = nullptr;
int screen_pitch_bytes = 0;
uint8_t rows_waiting[kHeight];
bool paint_waiting = false;
// What the canvas shows, and the canvas's pixels as the page's ImageData reads them.
std::vector<uint16_t> shown(size_t{kWidth} * kHeight);
std::vector<uint32_t> rgba(size_t{kWidth} * kHeight, 0xFF000000u);

// The canvas's bytes are R, G, B, A: the widened colour with its red and blue swapped, opaque.
uint32_t CanvasPixel(uint16_t p) {
    const uint32_t rgb = RgbFrom565(p);
    return 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
}

} // namespace

void WebHostPresent(const uint16_t* pixels, int pitch_bytes, const uint8_t* rows_changed) {
    screen = pixels;
    screen_pitch_bytes = pitch_bytes;
    for (int y = 0; y < kHeight; ++y) {
        rows_waiting[y] |= rows_changed[y];
    }
    paint_waiting = true;
}

void WebHostKeepSnapshot(const std::string& name, const std::vector<uint16_t>& frame) {
    zobu_js_keep_snapshot(name.c_str(), frame.data(), static_cast<int>(frame.size()));
}

void WebCanvasPaint() {
    if (!paint_waiting || screen == nullptr) {
        return;
    }
    paint_waiting = false;
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
        zobu_js_put(rgba.data(), kWidth, kHeight, r.x, r.y, r.width, r.height);
    }
}

// The page's tests.
extern "C" {

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

} // extern "C"
