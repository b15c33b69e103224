// What every benchmark starts with: the headless host on the machine's real clock, and one
// pop-up window to own timers and the display.
#pragma once

#include <windows.h>

// Installs the host and makes the window; called once per benchmark program.
HWND OpenBenchWindow(DWORD style);
