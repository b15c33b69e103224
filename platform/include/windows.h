// Zobu 4 platform floor: the umbrella header of our own Win32 subset for Linux.
//
// The game code includes <windows.h> and sees Windows' names, values and record layouts.
// On Windows the real SDK answers that include; on Linux this folder does. Everything
// declared here is implemented in platform/; nothing is declared for show.
#pragma once

#include "windef.h"
#include "winbase.h"
#include "wingdi.h"
#include "winuser.h"
