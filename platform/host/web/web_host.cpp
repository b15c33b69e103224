// Zobu 4 platform floor: the browser host's C++ half: its table, its clock and its wait.
#include "web_private.h"

#include <emscripten.h>

namespace {

uint64_t start_tick = 0;
double start_page_ms = 0;

void WaitUntil(uint64_t deadline_ms) {
    WebCanvasPaint(); // what this wake drew, before the browser's turn shows it
    if (WebInputWaiting()) {
        return;
    }
    const uint64_t wake = std::min(deadline_ms, WebInputNextRepeat());
    const uint64_t now = WebNowMs();
    if (wake <= now) {
        return;
    }
    zobu_js_sleep(wake == kHostForever ? -1.0 : static_cast<double>(wake - now));
}

bool PollInput(HostInput* input) {
    return WebInputTake(WebNowMs(), input);
}

int MessageBox(const char* text, const char* title, unsigned style) {
    return zobu_js_message_box(text ? text : "", title ? title : "", style);
}

void ShowCursor(bool visible) {
    zobu_js_show_cursor(visible ? 1 : 0);
}

const HostOps kWebOps = {WebNowMs, WaitUntil, PollInput, WebHostPresent, MessageBox, ShowCursor};

} // namespace

uint64_t WebNowMs() {
    return start_tick + static_cast<uint64_t>(emscripten_get_now() - start_page_ms);
}

const HostOps* WebHostOpen(uint64_t tick) {
    start_tick = tick;
    start_page_ms = emscripten_get_now();
    return &kWebOps;
}

void WebHostEnded(int status) {
    WebCanvasPaint(); // the last picture stays on the canvas
    zobu_js_ended(status);
}
