// Zobu 4 platform floor: the parts of the browser host, which share this header: the table, the
// clock and the wait (web_host.cpp), the canvas (canvas.cpp), the page's input (input.cpp);
// and the JavaScript half they call (web_host.js).
#pragma once

#include "web_host.h"

#include <stdint.h>

// The JavaScript half (web_host.js).
extern "C" {
void zobu_js_sleep(double ms); // Asyncify: returns after `ms` (forever if negative) or on input
void zobu_js_put(const uint32_t* rgba, int screen_width, int screen_height, int x, int y, int width,
                 int height);
int zobu_js_message_box(const char* text, const char* title, unsigned style); // Asyncify
void zobu_js_show_cursor(int visible);
void zobu_js_keep_snapshot(const char* name, const uint16_t* pixels, int count);
void zobu_js_ended(int status);
}

// --- web_host.cpp ---

// The host's clock: the page's, from the tick count the program started at.
uint64_t WebNowMs();

// --- canvas.cpp ---

// Puts on the canvas what the presents since the last paint changed, if anything.
void WebCanvasPaint();

// --- input.cpp ---

// The oldest input the page gave (or a held controller direction's repeat due by now_ms).
bool WebInputTake(uint64_t now_ms, HostInput* input);
bool WebInputWaiting();
// When a held controller direction next repeats; UINT64_MAX for never.
uint64_t WebInputNextRepeat();
