// Zobu 4 platform floor: the caret, the one blinking bar of the system.
//
// One caret at a time, owned by a window. It is drawn by inverting its rectangle in the
// owner's client area, and erased by inverting it again, so whatever lies beneath comes
// back. It is created hidden; each HideCaret needs a ShowCaret to undo it. While shown it
// blinks: every GetCaretBlinkTime() a WM_SYSTIMER for the owner comes out of the queue, as
// on Windows, and dispatching it turns the bar on or off. So the blink runs on the host's
// clock (virtual for the headless host, and the same in every run), and the message loop
// sees it as Windows' own does. BeginPaint hides the caret of the window it paints and
// EndPaint shows it again, so that painting never leaves half a bar behind.
#include "user_private.h"

#include "../gdi/gdi_private.h"

namespace {

constexpr UINT kBlinkMs = 500;
constexpr UINT_PTR kBlinkTimerId = 0xFFFF; // the system's own, beside the program's timers

struct Caret {
    HWND owner = nullptr; // null: no caret
    RECT bar = {0, 0, 0, 0};
    int hidden = 1;  // HideCaret calls not yet undone; created hidden
    bool on = false; // inverted on the screen now
    uint64_t blink_ms = 0;
};
Caret caret;

void Invert() {
    HDC dc = GetDC(caret.owner);
    GdiInvertRect(dc, caret.bar);
    ReleaseDC(caret.owner, dc);
    caret.on = !caret.on;
}

void Erase() {
    if (caret.on) {
        Invert();
    }
}

// Draws the bar at once and restarts the blink, as Windows does after every change.
void Restart() {
    if (caret.hidden == 0) {
        if (!caret.on) {
            Invert();
        }
        caret.blink_ms = Host().now_ms() + kBlinkMs;
    }
}

bool Owns(HWND window) {
    return caret.owner && (window == nullptr || window == caret.owner);
}

} // namespace

BOOL WINAPI CreateCaret(HWND window, HBITMAP, int width, int height) {
    if (!WindowFromHandle(window)) {
        return FALSE;
    }
    DestroyCaret();
    caret.owner = window;
    // A zero size is the system's border width and height.
    caret.bar = {0, 0, width > 0 ? width : 1, height > 0 ? height : 1};
    return TRUE;
}

BOOL WINAPI DestroyCaret() {
    if (!caret.owner) {
        return FALSE;
    }
    Erase();
    caret = Caret();
    return TRUE;
}

BOOL WINAPI ShowCaret(HWND window) {
    if (!Owns(window)) {
        return FALSE;
    }
    if (caret.hidden > 0 && --caret.hidden == 0) {
        Restart();
    }
    return TRUE;
}

BOOL WINAPI HideCaret(HWND window) {
    if (!Owns(window)) {
        return FALSE;
    }
    Erase();
    ++caret.hidden;
    return TRUE;
}

BOOL WINAPI SetCaretPos(int x, int y) {
    if (!caret.owner) {
        return FALSE;
    }
    Erase();
    caret.bar = {x, y, x + caret.bar.right - caret.bar.left, y + caret.bar.bottom - caret.bar.top};
    Restart();
    return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT point) {
    if (!point) {
        return FALSE;
    }
    *point = {caret.bar.left, caret.bar.top};
    return TRUE;
}

UINT WINAPI GetCaretBlinkTime() {
    return kBlinkMs;
}

bool CaretTakeDue(const MessageFilter& filter, uint64_t now_ms, bool remove, MSG* out) {
    if (!caret.owner || caret.hidden > 0 || now_ms < caret.blink_ms ||
        !filter.Accepts(caret.owner, kSysTimer)) {
        return false;
    }
    *out = {};
    out->hwnd = caret.owner;
    out->message = kSysTimer;
    out->wParam = kBlinkTimerId;
    out->time = static_cast<DWORD>(now_ms);
    if (remove) {
        // Ticks missed while the program was busy are one tick, as for any timer.
        caret.blink_ms = now_ms + kBlinkMs;
    }
    return true;
}

uint64_t CaretNextDeadline(const MessageFilter& filter) {
    if (!caret.owner || caret.hidden > 0 || !filter.Accepts(caret.owner, kSysTimer)) {
        return kHostForever;
    }
    return caret.blink_ms;
}

void CaretBlink(HWND window, WPARAM id) {
    if (window == caret.owner && id == kBlinkTimerId && caret.hidden == 0) {
        Invert();
    }
}

void CaretHideForPaint(HWND window) {
    if (window == caret.owner) {
        HideCaret(window);
    }
}

void CaretShowAfterPaint(HWND window) {
    if (window == caret.owner) {
        ShowCaret(window);
    }
}

void CaretForgetWindow(HWND window) {
    if (window == caret.owner) {
        caret = Caret(); // its pixels went with it
    }
}

void CaretReset() {
    caret = Caret();
}
