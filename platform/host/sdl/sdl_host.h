// Zobu 4 platform floor: the SDL2 host, the window a player sees.
//
// The game's 640 x 480 screen is shown scaled by a whole number, centred, with black bars
// around, and never blurred: on the whole desktop by default (the monitor's own mode is
// never changed), or in a window with --windowed. Alt+Enter switches between the two at
// any time. Keys become the key events of the host seam with the system's own auto-repeat;
// the mouse is mapped back onto the 640 x 480 screen; the window's close button, SIGINT and
// SIGTERM are the Close request.
//
// The game's clock (GetTickCount, the timers) is the real one, read when the program wakes
// and stopped at whatever falls due: the same game as on the headless host's virtual clock,
// played out in real time (sdl_host.cpp, NowMs). A script replayed in the window, or a
// recording of a game played here, is the game the headless host replays.
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
#include "../schedule.h"

#include <stdint.h>

#include <string>

struct SdlOptions {
    bool windowed = false; // a window instead of the whole desktop
    int scale = 0;         // the window's scale; 0: the largest that fits 80 % of the desktop
    bool gpu = false;      // scale on the graphics card through SDL's renderer, not the CPU
};

// Opens the display and returns the host's table, or null with the reason (no display, or
// SDL could not open a window) in *error.
const HostOps* SdlHostOpen(const SdlOptions& options, std::string* error);

// Sets the tick count the clock starts from (GetTickCount at WinMain's start), before any
// Win32 call.
void SdlHostStartTick(uint64_t tick);

// A script replayed in the window: its inputs are delivered once the game's clock reaches
// them, live input going on meanwhile.
EventSchedule& SdlHostSchedule();

// Writes the picture as the window shows it, after the newest present, as a PNG: a script's
// snapshot.
void SdlHostSnapshot(const std::string& path);

// For tests: the real clock reads `now` instead of SDL's milliseconds (null: SDL's again),
// so that a test decides what falls due when.
void SdlHostSetClock(uint64_t (*now)());

// Closes the window and ends SDL; the recording, if any, is complete after this.
void SdlHostClose();
