// Zobu 4 platform floor: the kernel services the game uses (time and its own module).
#pragma once

#include "windef.h"

// Milliseconds since the host started; wraps after about 49.7 days, as on Windows.
DWORD WINAPI GetTickCount(void);

// NULL names the program's own module, whose resources were compiled from res/zobu4.rc.
// No other module exists here, so any other name gives NULL.
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
