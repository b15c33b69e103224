// Zobu 4 platform floor: mouse messages.
//
// The pointer's events become WM_MOUSEMOVE, WM_LBUTTONDOWN and WM_LBUTTONUP for the window
// under it, found through window regions (WindowFromPoint), so a click in the score panel's
// cut-away corner reaches the game's window behind it. lParam holds the point in that
// window's client coordinates, wParam the buttons down. Before the message is returned the
// window hears WM_SETCURSOR, which lets the game hide the pointer and the panel show its own.
#include "user_private.h"
#include "window_geometry.h"

namespace {

// Whether the left button is down, as of the last mouse message retrieved.
bool left_down = false;

} // namespace

void MouseReset() {
    left_down = false;
}

bool MouseCookEvent(const HostInput& input, bool commit, MSG* out) {
    const POINT point = {input.x, input.y};
    const HWND target = WindowFromPoint(point);
    RECT client;
    if (!target || !UserWindowScreenRect(target, true, &client)) {
        return false;
    }
    const UINT message = !input.button ? WM_MOUSEMOVE : input.down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    const bool down_after = input.button ? input.down : left_down;
    *out = {};
    out->hwnd = target;
    out->message = message;
    out->wParam = down_after ? MK_LBUTTON : 0;
    out->lParam = MAKELPARAM(point.x - client.left, point.y - client.top);
    out->pt = point;
    if (commit) {
        left_down = down_after;
        SendTo(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
               MAKELPARAM(HTCLIENT, message));
    }
    return true;
}
