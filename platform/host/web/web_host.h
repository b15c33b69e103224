// Zobu 4 platform floor: the browser host (WebAssembly, through emscripten).
//
// The page (index.html, page.js) owns the canvas and the DOM; web_host.js is the host's
// JavaScript half, linked into the program; this is the C++ half that fills the table.
//  - now_ms: the page's monotonic clock (performance.now), from a tick count the caller sets.
//  - wait_until: gives the browser its turn (Asyncify unwinds the stack and a timer or an input
//    event winds it back), so the game's own message loop stays the program's only loop.
//  - present: marks the rows that changed; when the program next waits (or ends), those that
//    differ from what the canvas shows are converted from 5:6:5 and put on the canvas, a few
//    rectangles.
//  - message_box: a dialog in the page, waited for; the text goes to the console too.
//  - show_cursor: the canvas's CSS cursor.
// Keys, the pointer and game controllers come from the page through the functions web_host.js
// calls, exported by the program as zobu_web_*.
#pragma once

#include "../host.h"

#include <stdint.h>

#include <string>
#include <vector>

// The browser host's table, its clock starting at `tick`: install it with HostInstall.
const HostOps* WebHostOpen(uint64_t tick);

// Puts a picture on the canvas as a present would, for another host (a script replayed on the
// headless host's virtual clock) that wants the page to show what it does.
void WebHostPresent(const uint16_t* pixels, int pitch_bytes, const uint8_t* rows_changed);

// Hands a snapshot of the screen (640 x 480, 5:6:5) to the page under `name`, where the
// tests read it.
void WebHostKeepSnapshot(const std::string& name, const std::vector<uint16_t>& frame);

// Tells the page that WinMain returned `status`.
void WebHostEnded(int status);
