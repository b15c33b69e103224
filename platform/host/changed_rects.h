// Zobu 4 platform floor: what changed between the picture shown and the next, as a few
// rectangles, for the hosts to send to the window system instead of the whole picture.
//
// A game picture changes in small places (the item falling, the Pot, the caret blinking at
// the other end of the screen), so rectangles around them are a small part of the screen.
// Rectangles that nearly touch are merged: each one costs the window system a request, and a
// request more costs it more than a few pixels sent twice.
#pragma once

#include "host.h"

#include <stdint.h>

#include <vector>

struct ChangedRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Compares the rows marked in `rows` (a byte a row, nonzero to compare; null for every row)
// of the `width` x `height` picture at `now` (rows `now_pitch_bytes` apart) with `shown`
// (rows `width` pixels apart), copies what changed into `shown`, and returns rectangles
// that together cover every changed pixel, none overlapping another. The rows not marked
// are known to be as shown and are not read.
// Copies the whole screen (kScreenWidth x kScreenHeight, rows `pitch_bytes` apart) into
// `frame`, rows back to back: a host's copy of what it shows, or of what a snapshot keeps.
void CopyScreen(const uint16_t* screen, int pitch_bytes, uint16_t* frame);

std::vector<ChangedRect> TakeChangedRects(const uint16_t* now, int now_pitch_bytes, uint16_t* shown,
                                          int width, int height, const uint8_t* rows);
