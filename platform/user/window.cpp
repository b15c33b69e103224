// Zobu 4 platform floor: window classes, windows, focus and the default window procedure.
#include "user_private.h"
#include "window_geometry.h"

#include "../gdi/gdi_private.h"

#include <strings.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
};

// Registered classes; atoms count up from 0xC000 as Windows' string atoms do.
std::vector<WindowClass> classes;
// Live windows by handle. Handles are never reused, so a stale handle stays invalid.
std::map<HWND, std::unique_ptr<Window>> windows;
// Creation order of the live windows, oldest first.
std::vector<HWND> creation_order;
// Top-level windows from the topmost down. An owned window always lies above its owner.
std::vector<HWND> z_order;
// The next handle value to hand out; spaced like Windows' handles, never zero.
uintptr_t next_handle = 0x10010;
// The active top-level window and the window with the keyboard focus.
HWND active_window = nullptr;
HWND focus_window = nullptr;

const WindowClass* FindClass(LPCSTR name) {
    for (const WindowClass& c : classes) {
        if (IS_INTRESOURCE(name) ? c.atom == LOWORD(name) : strcasecmp(c.name.c_str(), name) == 0) {
            return &c;
        }
    }
    return nullptr;
}

LRESULT Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = WindowFromHandle(handle);
    return (w && w->procedure) ? w->procedure(handle, message, wParam, lParam) : 0;
}

bool IsTopLevel(const Window& w) {
    return (w.style & WS_CHILD) == 0;
}

// The top-level window a window belongs to, through parents only: what gets activated.
HWND TopLevelOf(HWND handle) {
    Window* w = WindowFromHandle(handle);
    while (w && w->parent) {
        w = WindowFromHandle(w->parent);
    }
    return w ? w->handle : nullptr;
}

// Brings a top-level window to the top, with the windows it owns above it.
void BringToTop(HWND handle) {
    std::vector<HWND> group = {handle};
    for (size_t i = 0; i < group.size(); ++i) {
        for (HWND h : z_order) {
            const Window* w = WindowFromHandle(h);
            if (w->owner == group[i]) {
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

void Activate(HWND handle) {
    if (handle) {
        BringToTop(handle);
    }
    if (active_window == handle) {
        return;
    }
    const HWND previous = active_window;
    active_window = handle;
    if (previous) {
        Send(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(handle));
    }
    if (handle) {
        Send(handle, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
    }
}

void MarkForPaint(Window& w) {
    w.needs_paint = true;
    for (HWND h : creation_order) {
        Window* child = WindowFromHandle(h);
        if (child->parent == w.handle && child->visible) {
            MarkForPaint(*child);
        }
    }
}

void DestroyTree(Window& w) {
    w.destroying = true;
    // Owned windows go first, as DestroyWindow documents.
    for (HWND h : std::vector<HWND>(creation_order)) {
        Window* owned = WindowFromHandle(h);
        if (owned && owned->owner == w.handle && !owned->destroying) {
            DestroyWindow(h);
        }
    }
    const HWND handle = w.handle;
    Send(handle, WM_DESTROY, 0, 0);
    for (HWND h : std::vector<HWND>(creation_order)) {
        Window* child = WindowFromHandle(h);
        if (child && child->parent == handle && !child->destroying) {
            DestroyTree(*child);
        }
    }
    Send(handle, WM_NCDESTROY, 0, 0);
    if (focus_window && IsSelfOrChild(handle, focus_window)) {
        focus_window = nullptr;
    }
    if (active_window == handle) {
        active_window = nullptr;
    }
    TimersForgetWindow(handle);
    QueueForgetWindow(handle);
    creation_order.erase(std::remove(creation_order.begin(), creation_order.end(), handle),
                         creation_order.end());
    z_order.erase(std::remove(z_order.begin(), z_order.end(), handle), z_order.end());
    windows.erase(handle);
}

} // namespace

Window* WindowFromHandle(HWND handle) {
    auto found = windows.find(handle);
    return found == windows.end() ? nullptr : found->second.get();
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
        if (w->visible && w->needs_paint && filter.Accepts(h, WM_PAINT)) {
            return h;
        }
    }
    return nullptr;
}

HWND MainWindowForClose() {
    if (active_window) {
        return RootOwner(active_window);
    }
    for (HWND h : creation_order) {
        if (IsTopLevel(*WindowFromHandle(h))) {
            return h;
        }
    }
    return nullptr;
}

void WindowsReset() {
    classes.clear();
    windows.clear();
    creation_order.clear();
    z_order.clear();
    active_window = nullptr;
    focus_window = nullptr;
}

void UserReset() {
    WindowsReset();
    QueueReset();
    TimersReset();
    KeyboardReset();
    AcceleratorsReset();
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || IS_INTRESOURCE(windowClass->lpszClassName) ||
        FindClass(windowClass->lpszClassName)) {
        return 0;
    }
    WindowClass c;
    c.name = windowClass->lpszClassName;
    c.atom = static_cast<ATOM>(0xC000 + classes.size());
    c.style = windowClass->style;
    c.procedure = windowClass->lpfnWndProc;
    c.instance = windowClass->hInstance;
    classes.push_back(c);
    return c.atom;
}

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
    w->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    w->ex_style = exStyle;
    w->rect = {x, y, x + (width > 0 ? width : 0), y + (height > 0 ? height : 0)};
    w->text = windowName ? windowName : "";
    const HWND handle = w->handle;
    const bool top_level = !(style & WS_CHILD);
    windows[handle] = std::move(w);
    creation_order.push_back(handle);
    if (top_level) {
        z_order.insert(z_order.begin(), handle);
    }

    CREATESTRUCTA create = {
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    if (!Send(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) ||
        Send(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if ((style & WS_VISIBLE) && WindowFromHandle(handle)) {
        ShowWindow(handle, SW_SHOW);
    }
    return WindowFromHandle(handle) ? handle : nullptr;
}

BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return FALSE;
    }
    const bool was_visible = w->visible;
    if (showCommand == SW_HIDE) {
        if (was_visible) {
            Send(window, WM_SHOWWINDOW, FALSE, 0);
            if ((w = WindowFromHandle(window)) != nullptr) {
                w->visible = false;
                if (active_window == window) {
                    Activate(w->owner);
                }
            }
        }
        return was_visible;
    }
    if (!was_visible) {
        Send(window, WM_SHOWWINDOW, TRUE, 0);
        if ((w = WindowFromHandle(window)) == nullptr) {
            return FALSE;
        }
        w->visible = true;
        MarkForPaint(*w);
    }
    if (IsTopLevel(*w) && showCommand != SW_SHOWNA && showCommand != SW_SHOWNOACTIVATE) {
        Activate(window);
    }
    return was_visible;
}

BOOL WINAPI UpdateWindow(HWND window) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return FALSE;
    }
    if (w->visible && w->needs_paint) {
        Send(window, WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL WINAPI DestroyWindow(HWND window) {
    Window* w = WindowFromHandle(window);
    if (!w || w->destroying) {
        return FALSE;
    }
    DestroyTree(*w);
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

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    const Window* w = WindowFromHandle(window);
    if (!w || !rect) {
        return FALSE;
    }
    *rect = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    return TRUE;
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
    if (window == previous) {
        return previous;
    }
    if (window && TopLevelOf(window) != active_window) {
        Activate(TopLevelOf(window));
    }
    focus_window = window;
    if (previous) {
        Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    if (window) {
        Send(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Send(window, message, wParam, lParam);
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int itemId, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    if (!WindowFromHandle(dialog)) {
        return 0;
    }
    for (HWND h : creation_order) {
        const Window* w = WindowFromHandle(h);
        if (w->parent == dialog && w->id == static_cast<UINT_PTR>(itemId)) {
            return Send(h, message, wParam, lParam);
        }
    }
    return 0;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return 0;
    }
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_SETTEXT:
        w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        return TRUE;
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    case WM_GETTEXT: {
        if (wParam == 0 || lParam == 0) {
            return 0;
        }
        const size_t n = std::min<size_t>(w->text.size(), wParam - 1);
        w->text.copy(reinterpret_cast<LPSTR>(lParam), n);
        reinterpret_cast<LPSTR>(lParam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_PAINT:
        w->needs_paint = false;
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            SetFocus(window);
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            Send(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_SYSKEYDOWN:
        // Windows posts the close to the top-level window that got the key, so with the
        // score panel's edit box focused Alt+F4 would close the panel and leave the game
        // running. We post it to the top of the owner chain, the main window, so that
        // Alt+F4 ends the game as Escape does, whichever of its windows has the focus.
        if (wParam == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN)) {
            PostMessageA(RootOwner(window), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    default:
        return 0;
    }
}

bool UserWindowScreenRect(HWND window, bool, RECT* out) {
    const Window* w = WindowFromHandle(window);
    if (!w) {
        return false;
    }
    RECT r = w->rect;
    for (const Window* p = WindowFromHandle(w->parent); p; p = WindowFromHandle(p->parent)) {
        r = {r.left + p->rect.left, r.top + p->rect.top, r.right + p->rect.left,
             r.bottom + p->rect.top};
    }
    *out = r;
    return true;
}

namespace {

// The window's rectangle on the screen, cut to its shape.
Region ShapeOnScreen(const Window& w) {
    RECT r;
    UserWindowScreenRect(w.handle, false, &r);
    Region area(r);
    if (w.has_shape) {
        Region shape = w.shape;
        shape.Offset(r.left, r.top);
        area.Intersect(shape);
    }
    return area;
}

} // namespace

Region UserVisibleRegion(HWND window) {
    if (!IsWindowVisible(window)) {
        return Region();
    }
    const Window* w = WindowFromHandle(window);
    Region visible = ShapeOnScreen(*w);
    for (const Window* p = WindowFromHandle(w->parent); p; p = WindowFromHandle(p->parent)) {
        visible.Intersect(ShapeOnScreen(*p));
    }
    visible.Intersect(RECT{0, 0, DisplayPixels().width, DisplayPixels().height});
    // Top-level windows above this one's top-level window hide what they cover.
    const HWND top = TopLevelOf(window);
    for (HWND h : z_order) {
        if (h == top) {
            break;
        }
        const Window* above = WindowFromHandle(h);
        if (above->visible) {
            visible.Subtract(ShapeOnScreen(*above));
        }
    }
    return visible;
}

void UserSetWindowRect(HWND window, const RECT& rect) {
    if (Window* w = WindowFromHandle(window)) {
        w->rect = rect;
        if (w->visible) {
            MarkForPaint(*w);
        }
    }
}

int WINAPI SetWindowRgn(HWND window, HRGN region, BOOL redraw) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return 0;
    }
    Region shape;
    if (region && !GdiTakeRegion(region, &shape)) {
        return 0;
    }
    w->has_shape = region != nullptr;
    w->shape = std::move(shape);
    if (redraw && w->visible) {
        MarkForPaint(*w);
    }
    return 1;
}
