// Zobu 4 platform floor: what GDI and DirectDraw ask user32 about windows on the screen.
#pragma once

#include <windows.h>

#include "../gdi/region.h"

// The window's rectangle in screen coordinates; with `client`, its client area, inside any
// frame (the edit box's borders). False for a handle that is not a window.
bool UserWindowScreenRect(HWND window, bool client, RECT* out);

// The part of the screen the window may paint: its rectangle cut to its shape (the region
// given by SetWindowRgn) and to its parents, minus the top-level windows above it, each
// cut to its own shape. Empty for a hidden window or a handle that is not a window.
Region UserVisibleRegion(HWND window);

// Moves and sizes a window, in its parent's coordinates (the screen's for a top-level one).
// DirectDraw's exclusive full-screen mode uses it to make its window cover the display.
void UserSetWindowRect(HWND window, const RECT& rect);
