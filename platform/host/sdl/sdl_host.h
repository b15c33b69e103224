// Zobu 4 platform floor: the SDL2 host, the window a player sees.
//
// The game's 640 x 480 screen is shown scaled by a whole number, centred, with black bars
// around, and never blurred: on the whole desktop by default (the monitor's own mode is
// never changed), or in a window with --windowed. Alt+Enter switches between the two at
// any time. Keys become the key events of the host seam with the system's own auto-repeat;
// the mouse is mapped back onto the 640 x 480 screen; the window's close button, SIGINT and
// SIGTERM are the Close request.
//
// Presenting never blocks the game: a present only notes where the newest picture is, and
// the host shows it when the game's loop waits, at most once per display refresh, sending
// to the screen only the rows that changed since the picture last shown.
#pragma once

#include "../host.h"

#include <stdint.h>

#include <string>

struct SdlOptions {
    bool windowed = false; // a window instead of the whole desktop
    int scale = 0;         // the window's scale; 0: the largest that fits 80 % of the desktop
    std::string record;    // where to write every input as a script, if anywhere
};

// Opens the display and returns the host's table, or null with the reason (no display, or
// SDL could not open a window) in *error.
const HostOps* SdlHostOpen(const SdlOptions& options, std::string* error);

// Sets the tick count the clock starts from (GetTickCount at WinMain's start), before any
// Win32 call; the recording's first line names it.
void SdlHostStartTick(uint64_t tick);

// Closes the window and ends SDL; the recording, if any, is complete after this.
void SdlHostClose();
