// Zobu 4: the application shell: the main window, start-up and shut-down, and the frame.
#pragma once

#include <windows.h>

// The main window's procedure: the four commands, the hidden cursor, and the quit on
// destruction.
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the display, checks that GDI windows show over it, loads the background and the
// art, arms the Pot's timers and opens the score panel. Returns 0, or the code of the first
// step that failed (having shown its message, for the display's two).
HRESULT StartGame(HWND window);

// Kills the four timers and releases the background. Safe to run twice.
void StopGame();

// Composes one frame on the back buffer and presents it. Returns 0, or the failure of the
// speed figure or of the present. Composes nothing while the Screen's surfaces or the
// background are absent.
HRESULT RenderFrame();
