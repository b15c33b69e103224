// Zobu 4 platform floor: where windows are and which one is active: positions and sizes,
// showing and hiding, the z-order, activation and the keyboard focus.
//
// The messages follow Windows' order, as its own programs observe it:
//   showing a new top-level window: WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, [activation:
//   WM_ACTIVATEAPP to every top-level window, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS],
//   WM_WINDOWPOSCHANGED;
//   resizing: WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, then WM_SIZE from the default
//   procedure's answer to WM_WINDOWPOSCHANGED;
//   hiding the active window (also on its way to destruction): WM_WINDOWPOSCHANGING,
//   WM_WINDOWPOSCHANGED, then [deactivation: WM_NCACTIVATE, WM_ACTIVATE(WA_INACTIVE),
//   WM_ACTIVATEAPP(FALSE) when no window of the program takes over, WM_KILLFOCUS].
#include "user_private.h"
#include "window_geometry.h"

#include <algorithm>
#include <vector>

namespace {

// Top-level windows from the topmost down. An owned window always lies above its owner.
std::vector<HWND> z_order;
// The active top-level window and the window with the keyboard focus.
HWND active_window = nullptr;
HWND focus_window = nullptr;

// Brings a top-level window to the top, with the windows it owns above it.
void BringToTop(HWND handle) {
    std::vector<HWND> group = {handle};
    for (size_t i = 0; i < group.size(); ++i) {
        for (HWND h : z_order) {
            if (WindowFromHandle(h)->owner == group[i]) {
                group.push_back(h);
            }
        }
    }
    // The owned windows keep their order among themselves, above the window itself.
    std::vector<HWND> owned, rest;
    for (HWND h : z_order) {
        const bool in_group = std::find(group.begin(), group.end(), h) != group.end();
        if (in_group && h != handle) {
            owned.push_back(h);
        } else if (!in_group) {
            rest.push_back(h);
        }
    }
    z_order = owned;
    z_order.push_back(handle);
    z_order.insert(z_order.end(), rest.begin(), rest.end());
}

// Moves the focus, with WM_KILLFOCUS to the window losing it and WM_SETFOCUS to the one
// gaining it, each naming the other.
void MoveFocus(HWND window) {
    const HWND previous = focus_window;
    if (window == previous) {
        return;
    }
    focus_window = window;
    if (previous) {
        SendTo(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    if (window) {
        SendTo(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
}

// Whether `window` is `leaving` or owned by it, directly or through other owned windows.
bool OwnedBy(const Window* window, HWND leaving) {
    for (; window; window = WindowFromHandle(window->owner)) {
        if (window->handle == leaving) {
            return true;
        }
    }
    return false;
}

bool CanTakeActivation(HWND handle, HWND leaving) {
    const Window* w = WindowFromHandle(handle);
    return w && w->visible && !w->destroying && w->IsTopLevel() && !OwnedBy(w, leaving);
}

} // namespace

void WinPosAdd(HWND window) {
    z_order.insert(z_order.begin(), window);
}

void WinPosForget(HWND window) {
    z_order.erase(std::remove(z_order.begin(), z_order.end(), window), z_order.end());
    if (active_window == window) {
        active_window = nullptr;
    }
    if (focus_window && IsSelfOrChild(window, focus_window)) {
        focus_window = nullptr;
    }
}

std::vector<HWND> TopLevelWindowsAbove(HWND window) {
    const auto at = std::find(z_order.begin(), z_order.end(), window);
    return std::vector<HWND>(z_order.begin(), at);
}

void WinPosReset() {
    z_order.clear();
    active_window = nullptr;
    focus_window = nullptr;
}

void WinPosSet(HWND handle, const RECT& rect, UINT flags) {
    Window* w = WindowFromHandle(handle);
    if (!w) {
        return;
    }
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (rect.left == w->rect.left && rect.top == w->rect.top) {
        flags |= SWP_NOMOVE;
    }
    if (width == w->rect.right - w->rect.left && height == w->rect.bottom - w->rect.top) {
        flags |= SWP_NOSIZE;
    }
    flags &= w->visible ? ~static_cast<UINT>(SWP_SHOWWINDOW) : ~static_cast<UINT>(SWP_HIDEWINDOW);
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE) &&
        !(flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) {
        return; // nothing to change, nothing to say
    }
    WINDOWPOS pos = {handle, nullptr, rect.left, rect.top, width, height, flags};
    SendTo(handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if ((w = WindowFromHandle(handle)) == nullptr) {
        return;
    }
    // The procedure may have changed where the window goes.
    if (!(flags & SWP_NOMOVE)) {
        w->rect = {pos.x, pos.y, pos.x + (w->rect.right - w->rect.left),
                   pos.y + (w->rect.bottom - w->rect.top)};
    }
    if (!(flags & SWP_NOSIZE)) {
        w->rect.right = w->rect.left + std::max(pos.cx, 0);
        w->rect.bottom = w->rect.top + std::max(pos.cy, 0);
    }
    if (flags & SWP_SHOWWINDOW) {
        w->visible = true;
    }
    if (flags & SWP_HIDEWINDOW) {
        w->visible = false;
    }
    if (w->visible && (flags & (SWP_SHOWWINDOW | SWP_NOSIZE)) != SWP_NOSIZE) {
        MarkForPaint(*w); // shown, or of a new size: all of it is to be painted
    }
    if (w->IsTopLevel() && !(flags & SWP_NOZORDER)) {
        BringToTop(handle);
    }
    if (w->IsTopLevel() && (flags & SWP_SHOWWINDOW) && !(flags & SWP_NOACTIVATE)) {
        Activate(handle);
    }
    SendTo(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

void Activate(HWND handle) {
    if (handle) {
        BringToTop(handle);
    }
    const HWND previous = active_window;
    if (handle == previous) {
        return;
    }
    active_window = handle;
    if (previous) {
        SendTo(previous, WM_NCACTIVATE, FALSE, 0);
        SendTo(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(handle));
    }
    if ((previous == nullptr) != (handle == nullptr)) {
        for (HWND h : std::vector<HWND>(z_order)) {
            SendTo(h, WM_ACTIVATEAPP, handle != nullptr, 0);
        }
    }
    if (handle && active_window == handle) {
        SendTo(handle, WM_NCACTIVATE, TRUE, 0);
        SendTo(handle, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
    }
    // The focus lives in the active window: the default answer to WM_ACTIVATE puts it there,
    // and a procedure that answers otherwise does not keep it elsewhere.
    if (active_window == handle && (!focus_window || TopLevelOf(focus_window) != handle)) {
        MoveFocus(handle);
    }
}

void ActivateOther(HWND leaving) {
    const Window* w = WindowFromHandle(leaving);
    HWND next = nullptr;
    if (w && CanTakeActivation(w->owner, leaving)) {
        next = w->owner;
    }
    for (size_t i = 0; !next && i < z_order.size(); ++i) {
        if (CanTakeActivation(z_order[i], leaving)) {
            next = z_order[i];
        }
    }
    Activate(next);
}

void UserSetWindowRect(HWND window, const RECT& rect) {
    WinPosSet(window, rect, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    const Window* w = WindowFromHandle(window);
    if (!w) {
        return FALSE;
    }
    const bool was_visible = w->visible;
    if (showCommand == SW_HIDE) {
        if (was_visible) {
            SendTo(window, WM_SHOWWINDOW, FALSE, 0);
            if ((w = WindowFromHandle(window)) != nullptr) {
                WinPosSet(window, w->rect,
                          SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            if (window == active_window) {
                ActivateOther(window);
            }
        }
        return was_visible;
    }
    const bool activate =
        w->IsTopLevel() && showCommand != SW_SHOWNA && showCommand != SW_SHOWNOACTIVATE;
    if (!was_visible) {
        SendTo(window, WM_SHOWWINDOW, TRUE, 0);
        if ((w = WindowFromHandle(window)) == nullptr) {
            return FALSE;
        }
        UINT flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (!activate) {
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        }
        WinPosSet(window, w->rect, flags);
    } else if (activate) {
        Activate(window);
    }
    return was_visible;
}

HWND WINAPI GetFocus(void) {
    return focus_window;
}

HWND WINAPI GetActiveWindow(void) {
    return active_window;
}

HWND WINAPI SetFocus(HWND window) {
    const HWND previous = focus_window;
    if (window && !WindowFromHandle(window)) {
        return nullptr;
    }
    if (window && TopLevelOf(window) != active_window) {
        Activate(TopLevelOf(window));
    }
    MoveFocus(window);
    return previous;
}
