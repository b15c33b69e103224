// Zobu 4 platform floor: how the SDL host sleeps until something happens.
//
// SDL 2.26's own wait (SDL_WaitEventTimeout) wakes itself on X11 by sending an event to the
// game's window through a second connection to the X server. The server may carry out the
// window's destruction, sent later on the first connection, before that event; the error
// then reaches Xlib's default handler when SDL closes the second connection, and it ends a
// clean quit with exit status 1. So on X11 the host never lets SDL wait: it polls SDL's
// events, and sleeps itself on the X connection's descriptor, where nothing is ever sent
// between two connections. Elsewhere (Wayland) SDL's own wait has no such second party.
//
// SIGINT and SIGTERM are ours too, not SDL's: a handler that writes to a pipe the sleep
// watches, so that a signal arriving just before the sleep still ends it at once. Where SDL
// sleeps (Wayland and the rest), a thread watches the pipe and wakes SDL's wait with an
// event of no meaning; a signal handler cannot, as SDL's queue takes a lock. A second signal
// of the same kind ends the program as the default action would.
#pragma once

#include <SDL.h>

// Takes over SIGINT and SIGTERM, so that they end the game through its own quit. Called as
// the program starts, before anything slow, so that a signal during start-up is not lost
// (it is kept until the first wait); and by EventWaitOpen if it was not.
void EventWaitCatchSignals();

// Sets up the sleep for this window. Call after SDL_Init was told to leave the signals alone
// (SDL_HINT_NO_SIGNAL_HANDLERS).
void EventWaitOpen(SDL_Window* window);

// Sleeps up to timeout_ms (at most a second), until the window system has something for
// SDL, or a signal came. With *event filled, returns true: an event SDL had already queued.
bool EventWait(int timeout_ms, SDL_Event* event);

// True once after a SIGINT or SIGTERM came (several before the call count as one).
bool EventWaitTakeSignal();

// Stops the watching thread and gives the signals back to their default actions. Call before
// SDL_Quit.
void EventWaitClose();
