// Zobu 4 platform floor: the keys every host knows, once. A key is Windows' virtual key; the
// table gives each its name in scripts, the browser's name for where it is on the keyboard
// (KeyboardEvent.code), and its USB usage on the keyboard page, which is what SDL's
// scancodes are. Letters, digits and F1 to F12 follow rules rather than rows: their virtual
// keys are 'A' to 'Z', '0' to '9' and 0x70 to 0x7B.
#pragma once

#include <stdint.h>

#include <string>

// The virtual keys the hosts hand over, with the SDK's values (VK_BACK ... VK_F1).
namespace vk {
constexpr uint8_t kBack = 0x08, kTab = 0x09, kReturn = 0x0D, kShift = 0x10, kControl = 0x11,
                  kMenu = 0x12, kEscape = 0x1B, kSpace = 0x20, kLeft = 0x25, kUp = 0x26,
                  kRight = 0x27, kDown = 0x28, kF1 = 0x70;
} // namespace vk

// The virtual key a script's NAME stands for, in any case ("left", "F4", "a"); 0 for none.
uint8_t VirtualKeyFromName(const std::string& name);

// The NAME of a virtual key, for a recording; empty for a key scripts cannot name.
std::string NameFromVirtualKey(uint8_t virtual_key);

// The virtual key for a KeyboardEvent.code ("ArrowLeft", "KeyA", "Digit7", "F5"): where the
// key is, whatever the layout prints on it, as a scan code is on Windows; 0 for a key the
// program has no use for.
uint8_t VirtualKeyFromCode(const char* code);

// The virtual key for a USB keyboard usage (an SDL_Scancode); 0 for one of no use.
uint8_t VirtualKeyFromUsage(int usage);
