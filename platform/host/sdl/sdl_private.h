// Zobu 4 platform floor: the parts of the SDL host, which share this header and nothing
// else: the clock and the wait (sdl_host.cpp), the window and the picture in it (video.cpp),
// the player's input (input.cpp).
#pragma once

#include "../host.h"
#include "sdl_host.h"

#include <SDL.h>

#include <stdint.h>

#include <string>

// --- sdl_host.cpp ---

// SDL's milliseconds (or the test's clock), moved so that they read the start tick at the
// start: the real clock, which the game's clock follows.
uint64_t RealNowMs();

// --- video.cpp: the window and the picture in it ---

// Opens the window, once SDL is initialised; false, with the reason.
bool VideoOpen(const SdlOptions& options, std::string* error);
// Closes it (reporting the measuring switch's figures, when asked for).
void VideoClose();
SDL_Window* VideoWindow();
// The present entry of the host table: notes where the newest picture is.
void VideoPresent(const uint16_t* pixels, int pitch_bytes, const uint8_t* rows_changed);
// When the picture waiting may be shown, on the real clock, paced to the display's refresh;
// kHostForever when none is waiting.
uint64_t VideoNextShow();
// Shows the newest picture now, sending only what changed.
void VideoShow();
// The window lost what it showed (exposed, resized, switched): send all of it, soon.
void VideoShowAllAgain();
// Alt+Enter: the whole screen or a window.
void VideoToggleFullScreen();
// A point of the window as a point of the 640 x 480 screen.
void VideoScreenPoint(int32_t* x, int32_t* y);
// The picture as the window shows it, rows back to back: what a snapshot writes.
const uint16_t* VideoShown();

// The measuring switch ZOBU_SDL_STATS (sdl_host.h): a keyboard key went down at SDL's time
// `sdl_ms`; the floor took a key that went down.
void StatsKeyDown(uint32_t sdl_ms);
void StatsKeyTaken();

// --- input.cpp: the player's input ---

// Takes what SDL, the signals and the controllers have for the program, into the input
// waiting; `event` is one SDL has already handed over, if any.
void InputDrain(const SDL_Event* event = nullptr);
bool InputWaiting();
// The oldest input waiting, if any.
bool InputTakeOldest(HostInput* input);
// When a held controller direction next repeats, on the real clock; UINT64_MAX for never.
uint64_t InputNextRepeat();
void InputClear();
