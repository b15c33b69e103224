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
// to the screen only the rectangles that changed since the picture last shown. Two paths,
// chosen by measurement (bench/sdl_figures.sh): by default SDL scales those into the window's
// own surface and hands the window system just them, which costs a fraction of a per cent of
// a core for an idle game; with --gpu, SDL's renderer scales the whole picture on the
// graphics card (OpenGL), which a machine without one pays for on the CPU at every present.
//
// Two switches, for measuring (bench/sdl_figures.sh), in the environment:
//   ZOBU_SDL_STATS=1        at exit, one line on standard error: when the first picture was
//                           shown (CLOCK_MONOTONIC), the key-to-screen time of each key (from
//                           SDL's key event to the picture shown after its message was taken)
//                           as median, 90th percentile and maximum, pictures shown and
//                           their pixels sent;
//   ZOBU_SDL_FULL_UPLOAD=1  send the whole picture every time, to compare with what changed.
#pragma once

#include "../host.h"

#include <stdint.h>

#include <string>

struct SdlOptions {
    bool windowed = false; // a window instead of the whole desktop
    int scale = 0;         // the window's scale; 0: the largest that fits 80 % of the desktop
    bool gpu = false;      // scale on the graphics card through SDL's renderer, not the CPU
    std::string record;    // where to write every input as a script, if anywhere
};

// Opens the display and returns the host's table, or null with the reason (no display, or
// SDL could not open a window) in *error.
const HostOps* SdlHostOpen(const SdlOptions& options, std::string* error);

// Sets the tick count the clock starts from (GetTickCount at WinMain's start), before any
// Win32 call; the recording's first line names it.
void SdlHostStartTick(uint64_t tick);

// Adds a scripted event (a script replayed in the window): an input delivered once the clock
// reaches at_ms, live input going on meanwhile; with a path, a PNG of the picture shown then.
void SdlHostSchedule(uint64_t at_ms, const HostInput& input, const std::string& snapshot);

// For tests: the host's clock reads `now` instead of SDL's milliseconds (null: SDL's again),
// so that a test decides what falls due when.
void SdlHostSetClock(uint64_t (*now)());

// Closes the window and ends SDL; the recording, if any, is complete after this.
void SdlHostClose();
