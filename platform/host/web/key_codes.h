// Zobu 4 platform floor: the browser's key codes as Windows' virtual keys.
#pragma once

#include <stdint.h>

// The virtual key for a KeyboardEvent.code ("ArrowLeft", "KeyA", "Digit7", "F5"): where the
// key is on the keyboard, whatever its layout prints on it, as a scan code is on Windows.
// 0 for a key the program has no use for.
uint8_t VirtualKeyFromCode(const char* code);
