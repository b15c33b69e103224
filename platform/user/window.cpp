// Zobu 4 platform floor: windows: creation, destruction, the tree of parents and owners,
// painting flags and queries.
#include "user_private.h"
#include "window_geometry.h"

#include "../gdi/gdi_private.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

// Live windows by handle. Handles are never reused, so a stale handle stays invalid.
std::map<HWND, std::unique_ptr<Window>> windows;
// Creation order of the live windows, oldest first.
std::vector<HWND> creation_order;
// The next handle value to hand out; spaced like Windows' handles, never zero.
uintptr_t next_handle = 0x10010;

// WM_DESTROY goes to a window before its children.
void SendDestroy(HWND handle) {
    SendTo(handle, WM_DESTROY, 0, 0);
    for (HWND child : ChildrenOf(handle)) {
        if (WindowFromHandle(child)) {
            SendDestroy(child);
        }
    }
}

// WM_NCDESTROY goes to a window's children before it, and then the window is gone.
void Free(HWND handle) {
    for (HWND child : ChildrenOf(handle)) {
        if (WindowFromHandle(child)) {
            Free(child);
        }
    }
    SendTo(handle, WM_NCDESTROY, 0, 0);
    TimersForgetWindow(handle);
    CaretForgetWindow(handle);
    QueueForgetWindow(handle);
    WinPosForget(handle);
    creation_order.erase(std::remove(creation_order.begin(), creation_order.end(), handle),
                         creation_order.end());
    windows.erase(handle);
}

} // namespace

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND h : creation_order) {
        if (WindowFromHandle(h)->parent == parent) {
            children.push_back(h);
        }
    }
    return children;
}

Window* WindowFromHandle(HWND handle) {
    auto found = windows.find(handle);
    return found == windows.end() ? nullptr : found->second.get();
}

LRESULT SendTo(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = WindowFromHandle(handle);
    return (w && w->procedure) ? w->procedure(handle, message, wParam, lParam) : 0;
}

HWND RootOwner(HWND handle) {
    Window* w = WindowFromHandle(handle);
    while (w && (w->parent || w->owner)) {
        Window* up = WindowFromHandle(w->parent ? w->parent : w->owner);
        if (!up) {
            break;
        }
        w = up;
    }
    return w ? w->handle : nullptr;
}

HWND TopLevelOf(HWND handle) {
    Window* w = WindowFromHandle(handle);
    while (w && w->parent) {
        w = WindowFromHandle(w->parent);
    }
    return w ? w->handle : nullptr;
}

bool IsSelfOrChild(HWND ancestor, HWND descendant) {
    for (Window* w = WindowFromHandle(descendant); w; w = WindowFromHandle(w->parent)) {
        if (w->handle == ancestor) {
            return true;
        }
    }
    return false;
}

HWND FindWindowToPaint(const MessageFilter& filter) {
    for (HWND h : creation_order) {
        const Window* w = WindowFromHandle(h);
        if (w->WantsPaint() && filter.Accepts(h, WM_PAINT)) {
            return h;
        }
    }
    return nullptr;
}

HWND MainWindowForClose() {
    if (HWND active = GetActiveWindow()) {
        return RootOwner(active);
    }
    for (HWND h : creation_order) {
        if (WindowFromHandle(h)->IsTopLevel()) {
            return h;
        }
    }
    return nullptr;
}

void RepaintAllWindows() {
    for (HWND h : creation_order) {
        Window* w = WindowFromHandle(h);
        if (w->visible && w->IsTopLevel()) {
            MarkForPaint(*w);
        }
    }
}

size_t UserLiveWindows() {
    return windows.size();
}

void WindowsReset() {
    ClassesReset();
    windows.clear();
    creation_order.clear();
    WinPosReset();
    PaintReset();
}

void UserReset() {
    WindowsReset();
    QueueReset();
    TimersReset();
    KeyboardReset();
    MouseReset();
    AcceleratorsReset();
    CursorReset();
    CaretReset();
}

// Windows' order: WM_NCCREATE, WM_NCCALCSIZE (which sets the client area), WM_CREATE, then
// WM_SIZE and WM_MOVE for the client area it came out with; WS_VISIBLE shows it last.
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    const WindowClass* c = className ? FindClass(className) : nullptr;
    if (!c) {
        return nullptr;
    }
    auto w = std::make_unique<Window>();
    if (style & WS_CHILD) {
        if (!WindowFromHandle(parent)) {
            return nullptr;
        }
        w->parent = parent;
        w->id = reinterpret_cast<UINT_PTR>(menu);
    } else if (parent) {
        if (!WindowFromHandle(parent)) {
            return nullptr;
        }
        w->owner = RootOwner(parent);
    }
    // CW_USEDEFAULT: pop-ups and children come out at (0, 0) with no extent, as on Windows;
    // an overlapped window gets three quarters of the screen.
    const bool overlapped = (style & (WS_POPUP | WS_CHILD)) == 0;
    if (x == CW_USEDEFAULT) {
        x = y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = overlapped ? DisplayPixels().width * 3 / 4 : 0;
        height = overlapped ? DisplayPixels().height * 3 / 4 : 0;
    }
    w->handle = reinterpret_cast<HWND>(next_handle);
    next_handle += 0x10;
    w->procedure = c->procedure;
    w->instance = instance;
    w->class_cursor = c->cursor;
    // Two styles Windows adds whatever the caller asked, and GetWindowLong reports: a
    // top-level window always clips its siblings, and a dialog frame has a raised edge.
    w->style = (style & ~static_cast<DWORD>(WS_VISIBLE)) |
               ((style & WS_CHILD) ? 0 : static_cast<DWORD>(WS_CLIPSIBLINGS));
    w->ex_style = exStyle | ((exStyle & WS_EX_DLGMODALFRAME) ? WS_EX_WINDOWEDGE : 0);
    w->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    w->text = windowName ? windowName : "";
    const HWND handle = w->handle;
    windows[handle] = std::move(w);
    creation_order.push_back(handle);
    if (!(style & WS_CHILD)) {
        WinPosAdd(handle);
    }

    CREATESTRUCTA create = {
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    if (!SendTo(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (Window* created = WindowFromHandle(handle)) {
        RECT client = created->rect;
        SendTo(handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
        if ((created = WindowFromHandle(handle)) != nullptr) {
            const RECT& r = created->rect;
            created->nonclient = {std::max<LONG>(client.left - r.left, 0),
                                  std::max<LONG>(client.top - r.top, 0),
                                  std::max<LONG>(r.right - client.right, 0),
                                  std::max<LONG>(r.bottom - client.bottom, 0)};
        }
    }
    if (SendTo(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (const Window* created = WindowFromHandle(handle)) {
        const RECT client = created->Client();
        SendTo(handle, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(client.right - client.left, client.bottom - client.top));
        SendTo(handle, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
    }
    if ((style & WS_VISIBLE) && WindowFromHandle(handle)) {
        ShowWindow(handle, SW_SHOW);
    }
    return WindowFromHandle(handle) ? handle : nullptr;
}

BOOL WINAPI UpdateWindow(HWND window) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return FALSE;
    }
    if (w->WantsPaint()) {
        SendTo(window, WM_PAINT, 0, 0);
    }
    return TRUE;
}

// A shown window is hidden first (without WM_SHOWWINDOW) and, if it was active, activation
// passes on; owned windows are destroyed next; then WM_DESTROY and WM_NCDESTROY.
BOOL WINAPI DestroyWindow(HWND window) {
    Window* w = WindowFromHandle(window);
    if (!w || w->destroying) {
        return FALSE;
    }
    w->destroying = true;
    if (w->visible) {
        WinPosSet(window, w->rect,
                  SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
    if (window == GetActiveWindow()) {
        ActivateOther(window);
    }
    if (GetFocus() && IsSelfOrChild(window, GetFocus())) {
        SetFocus(nullptr);
    }
    for (HWND h : std::vector<HWND>(creation_order)) {
        const Window* owned = WindowFromHandle(h);
        if (owned && owned->owner == window && !owned->destroying) {
            DestroyWindow(h);
        }
    }
    if (!WindowFromHandle(window)) {
        return TRUE;
    }
    SendDestroy(window);
    Free(window);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND window) {
    return WindowFromHandle(window) != nullptr;
}

BOOL WINAPI IsWindowVisible(HWND window) {
    for (Window* w = WindowFromHandle(window); w; w = WindowFromHandle(w->parent)) {
        if (!w->visible) {
            return FALSE;
        }
        if (!w->parent) {
            return TRUE;
        }
    }
    return FALSE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index) {
    const Window* w = WindowFromHandle(window);
    if (!w) {
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->procedure);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
    case GWLP_ID:
        return static_cast<LONG_PTR>(w->id);
    case GWL_STYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(w->style | (w->visible ? WS_VISIBLE : 0)));
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(w->ex_style));
    case GWLP_USERDATA:
        return w->user_data;
    default:
        return 0;
    }
}
