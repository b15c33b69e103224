// Zobu 4 platform floor: the seam between our Win32 and the machine it runs on.
//
// A host is one table of operations. The kernel and user floors call it; the host never
// calls game code or Win32 functions. The game's own message loop is the program's only
// loop: GetMessageA asks the host to wait, and the host returns when the deadline passes or
// input arrives. SDL (a real window) and headless (tests and replays) each fill the table.
#pragma once

#include <stdint.h>

// The screen every host shows: the game's display mode, 640 x 480.
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// A deadline that never comes: wait only for input.
constexpr uint64_t kHostForever = UINT64_MAX;

// A key held down repeats as Windows' keyboard does at its default settings: the first
// repeat half a second after the key went down, then about 30 a second. Hosts whose input
// source does not repeat (a script's hold, a game controller) repeat with this timing.
constexpr uint64_t kKeyRepeatDelayMs = 500;
constexpr uint64_t kKeyRepeatPeriodMs = 33;

enum class HostInputKind : uint8_t {
    Key,   // a key went down (again, when auto-repeating) or up
    Mouse, // the pointer moved, or the left button went down or up, at a point of the screen
    Close, // the user asked to end the program (window close button, SIGINT, end of script)
    Lost,  // another program took the display (Alt+Tab on Windows): its memory is gone
};

struct HostInput {
    HostInputKind kind = HostInputKind::Key;
    uint8_t virtual_key = 0; // Key: a VK_* value
    bool down = false;       // Key, and Mouse with `button`: whether it went down
    bool button = false;     // Mouse: the left button changed, rather than only the position
    int32_t x = 0;           // Mouse: where the pointer is, in the 640 x 480 screen's pixels
    int32_t y = 0;
};

struct HostOps {
    // Milliseconds on a monotonic clock. Called by GetTickCount, SetTimer and the message
    // queue whenever they need the time; never goes backwards.
    uint64_t (*now_ms)() = nullptr;

    // Blocks until now_ms() reaches deadline_ms or input is waiting, whichever is first.
    // Called by GetMessageA when nothing is due; it may return early for no reason, and the
    // caller simply looks again. kHostForever means no timer is armed.
    void (*wait_until)(uint64_t deadline_ms) = nullptr;

    // Takes the oldest waiting input, if any. Called by the message queue each time it looks
    // for messages, so input is stamped with the time it is taken in.
    bool (*poll_input)(HostInput* input) = nullptr;

    // Shows the 640 x 480 screen, 5:6:5 pixels, `pitch_bytes` from row to row. Called after
    // every blit onto the DirectDraw primary, and when a window's or the screen's device
    // context that drew is released. The pixels are the screen's own memory, which lasts as
    // long as the program: a host may keep the pointer and look again later (the headless
    // host does, for snapshots), but must not write to it. `rows_changed` holds a byte a row,
    // nonzero where the row may have changed since the previous present; the other rows are
    // as that one left them, so a host that sends only changes need look no further. It is
    // good for the call only.
    void (*present)(const uint16_t* pixels, int pitch_bytes, const uint8_t* rows_changed) = nullptr;

    // Shows a message under a title until the user dismisses it; `style` holds MessageBoxA's
    // MB_* flags (MB_ICONHAND: an error). Called by MessageBoxA, on the loop's thread, which
    // waits for it. Returns the IDOK-style number of the button pressed.
    int (*message_box)(const char* text, const char* title, unsigned style) = nullptr;

    // Shows the pointer over the program's windows, or hides it. Called by every SetCursor:
    // a null cursor hides it (the game's answer to WM_SETCURSOR), any other shows the host's
    // own arrow.
    void (*show_cursor)(bool visible) = nullptr;
};

// Installs the host every later call goes to. Called once by a program's entry point, or by
// a test fixture, before any Win32 call; the table must outlive its use. now_ms, wait_until
// and poll_input must be filled; present, message_box and show_cursor may be left null, for
// a host with nothing to show (the message box is then taken as IDOK). There is no default
// host: a program names its own (null: none again).
void HostInstall(const HostOps* ops);

// The installed host. Until one is installed, a null host answers: a clock that stands
// still but for the deadlines waited for, no input, nothing shown, message boxes on
// standard error; so a stray call never dereferences null, and no real host runs unasked.
const HostOps& Host();
