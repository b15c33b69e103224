// Zobu 4 platform floor: what the pieces of our user32 share with each other.
#pragma once

#include <windows.h>

#include "../gdi/region.h"

#include <stdint.h>

#include <string>

struct Window {
    HWND handle = nullptr;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    DWORD ex_style = 0;
    RECT rect = {0, 0, 0, 0}; // in the parent's client coordinates, or the screen's
    HWND parent = nullptr;    // child windows only
    HWND owner = nullptr;     // top-level windows only
    UINT_PTR id = 0;          // child windows: the control id from the menu argument
    LONG_PTR user_data = 0;
    std::string text;
    bool visible = false;
    bool needs_paint = false; // stands for a non-empty update region
    bool has_shape = false;   // SetWindowRgn gave it a shape
    Region shape;             // in the window's own coordinates
    bool destroying = false;
};

// The live window behind a handle, or null for a handle that is not (or no longer) a window.
Window* WindowFromHandle(HWND handle);

// Top-level ancestor through parents, then the top of its owner chain.
HWND RootOwner(HWND handle);

// True when `descendant` is `ancestor` or lies below it through parents.
bool IsSelfOrChild(HWND ancestor, HWND descendant);

// The window that the host's Close request goes to: the root of the active window, or the
// oldest live top-level window. Null when there is none.
HWND MainWindowForClose();

// Called while a window is destroyed, so that nothing it left behind reaches it later.
void TimersForgetWindow(HWND window);
void QueueForgetWindow(HWND window);

// --- timers (timer.cpp) ---

struct MessageFilter;

// The due tick of a timer that passes the filter, earliest first; with `remove`, the timer
// moves on to its next tick. False when no timer is due.
bool TimerTakeDue(const MessageFilter& filter, uint64_t now_ms, bool remove, MSG* out);

// When the next timer that passes the filter falls due; kHostForever when none is armed.
uint64_t TimerNextDeadline(const MessageFilter& filter);

// True when `procedure` is the procedure of timer `id` armed on `window`: DispatchMessageA
// calls only such procedures, never an address found in a message.
bool TimerIsArmedWith(HWND window, UINT_PTR id, TIMERPROC procedure);

// --- keyboard (keyboard.cpp) ---

// Builds the keyboard message for one key event; with `commit`, also records the key's new
// state, as retrieving the message does on Windows. Returns false when the key has nowhere
// to go (no focus and no active window).
bool KeyboardCookEvent(uint8_t virtual_key, bool down, bool commit, MSG* out);

// --- the message filter of GetMessageA and PeekMessageA ---

struct MessageFilter {
    HWND window = nullptr;
    UINT min = 0;
    UINT max = 0;

    bool AcceptsWindow(HWND target) const {
        if (window == nullptr) {
            return true;
        }
        if (window == reinterpret_cast<HWND>(-1)) {
            return target == nullptr;
        }
        return target != nullptr && IsSelfOrChild(window, target);
    }
    bool AcceptsMessage(UINT message) const {
        return (min == 0 && max == 0) || (message >= min && message <= max);
    }
    bool Accepts(HWND target, UINT message) const {
        return AcceptsWindow(target) && AcceptsMessage(message);
    }
};

// The first visible window, in creation order, that needs painting and passes the filter.
HWND FindWindowToPaint(const MessageFilter& filter);

// Forgets every window, message, timer, accelerator table and key state: a fresh start for
// a test fixture.
void UserReset();
void WindowsReset();
void QueueReset();
void TimersReset();
void KeyboardReset();
void AcceleratorsReset();
