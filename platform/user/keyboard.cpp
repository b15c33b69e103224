// Zobu 4 platform floor: keyboard messages and key state.
//
// A key event from the host becomes WM_KEYDOWN/WM_KEYUP for the focus window, or
// WM_SYSKEYDOWN/WM_SYSKEYUP where Windows makes a system key of it:
//   - any key while Alt is held, unless Ctrl is held too (Ctrl+Alt is AltGr on many
//     keyboards, and types characters);
//   - Alt itself going down without Ctrl; going up only when no other key went down while
//     it was held (so Alt+A ends with a plain WM_KEYUP of Alt), as observed on Windows;
//   - Ctrl going up while Alt is held, and F10 always;
//   - every key when no window has the focus: it goes to the active window instead.
// Its lParam is built as Windows builds it:
//   bits 0-15  repeat count, always 1 (the host reports each auto-repeat separately)
//   bits 16-23 the set 1 scan code of the key
//   bit 24     extended key (arrows, the navigation block, right-hand Ctrl and Alt)
//   bit 29     Alt was down when the key was pressed (system key messages only)
//   bit 30     the key was already down: set on auto-repeat and on every key-up
//   bit 31     set on key-up
// The key state that GetKeyState reports changes when a keyboard message is retrieved, not
// when the key moves, as on Windows.
#include "user_private.h"

namespace {

// State of every virtual key: bit 0x80 down, bit 0x01 toggled.
BYTE key_state[256] = {};
// Alt went down as a system key and nothing else has been a system key since.
bool alt_alone = false;

struct ScanCode {
    BYTE code;
    bool extended;
};

ScanCode ScanCodeOf(BYTE vk) {
    if (vk >= '0' && vk <= '9') {
        return {static_cast<BYTE>(vk == '0' ? 0x0B : 0x02 + (vk - '1')), false};
    }
    if (vk >= 'A' && vk <= 'Z') {
        static const BYTE letters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                         0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                         0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
        return {letters[vk - 'A'], false};
    }
    if (vk >= VK_F1 && vk <= VK_F10) {
        return {static_cast<BYTE>(0x3B + (vk - VK_F1)), false};
    }
    switch (vk) {
    case VK_ESCAPE:
        return {0x01, false};
    case VK_BACK:
        return {0x0E, false};
    case VK_TAB:
        return {0x0F, false};
    case VK_RETURN:
        return {0x1C, false};
    case VK_CONTROL:
        return {0x1D, false};
    case VK_SHIFT:
        return {0x2A, false};
    case VK_MENU:
        return {0x38, false};
    case VK_SPACE:
        return {0x39, false};
    case 0x7A:
        return {0x57, false}; // VK_F11
    case VK_F12:
        return {0x58, false};
    case VK_HOME:
        return {0x47, true};
    case VK_UP:
        return {0x48, true};
    case VK_PRIOR:
        return {0x49, true};
    case VK_LEFT:
        return {0x4B, true};
    case VK_RIGHT:
        return {0x4D, true};
    case VK_END:
        return {0x4F, true};
    case VK_DOWN:
        return {0x50, true};
    case VK_NEXT:
        return {0x51, true};
    case VK_INSERT:
        return {0x52, true};
    case VK_DELETE:
        return {0x53, true};
    default:
        return {0x00, false};
    }
}

bool IsDown(BYTE vk) {
    return (key_state[vk] & 0x80) != 0;
}

// Whether the key event is a system key by Windows' rules (the focus aside).
bool IsSystemKey(uint8_t virtual_key, bool down) {
    const bool alt_held = IsDown(VK_MENU), ctrl_held = IsDown(VK_CONTROL);
    switch (virtual_key) {
    case VK_MENU:
        return down ? !ctrl_held : alt_held && alt_alone;
    case VK_CONTROL:
        return !down && alt_held;
    case VK_F10:
        return true;
    default:
        return alt_held && !ctrl_held;
    }
}

} // namespace

bool KeyboardCookEvent(uint8_t virtual_key, bool down, bool commit, MSG* out) {
    const bool was_down = IsDown(virtual_key);
    const bool alt_down = virtual_key == VK_MENU ? down : IsDown(VK_MENU);
    const bool system_key = IsSystemKey(virtual_key, down);
    HWND target = GetFocus();
    // With no focus, keys go to the active window as system keys, as on Windows.
    const bool system = system_key || !target;
    if (!target) {
        target = GetActiveWindow();
    }
    if (!target) {
        return false;
    }
    const ScanCode scan = ScanCodeOf(virtual_key);
    LPARAM lParam = 1 | (static_cast<LPARAM>(scan.code) << 16);
    if (scan.extended) {
        lParam |= LPARAM{1} << 24;
    }
    if (system && alt_down) {
        lParam |= LPARAM{1} << 29;
    }
    if (was_down || !down) {
        lParam |= LPARAM{1} << 30;
    }
    if (!down) {
        lParam |= LPARAM{1} << 31;
    }
    *out = {};
    out->hwnd = target;
    out->message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    out->wParam = virtual_key;
    out->lParam = static_cast<LPARAM>(static_cast<DWORD>(lParam));
    if (commit) {
        if (system_key) {
            alt_alone = virtual_key == VK_MENU && down;
        }
        if (down) {
            if (!was_down) {
                key_state[virtual_key] ^= 0x01;
            }
            key_state[virtual_key] |= 0x80;
        } else {
            key_state[virtual_key] &= static_cast<BYTE>(~0x80);
        }
    }
    return true;
}

void KeyboardReset() {
    for (BYTE& state : key_state) {
        state = 0;
    }
    alt_alone = false;
}

short WINAPI GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) {
        return 0;
    }
    const BYTE state = key_state[virtualKey];
    return static_cast<short>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}
